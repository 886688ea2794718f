// The installer's command line comes from whoever starts tvimeist. Splitting must account for
// every byte, the parse must follow the words exactly (for the module and for the text service),
// and a command written back out as a command line must parse to itself.

#include <algorithm>
#include <cstdint>
#include <string>

#include "install/installer_command.h"

namespace {

bool SameCommand(const tvime::InstallerCommand& a, const tvime::InstallerCommand& b) {
  return a.uninstall == b.uninstall && a.textService == b.textService &&
         a.moduleFile == b.moduleFile && a.layoutText == b.layoutText;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  std::string_view commandLine(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> words = tvime::SplitInstallerWords(commandLine);

  // The words joined by single blanks give back the line, tabs read as blanks.
  std::string joined;
  for (size_t i = 0; i < words.size(); ++i) {
    if (words[i].find_first_of(" \t") != std::string::npos) __builtin_trap();
    if (i > 0) joined += ' ';
    joined += words[i];
  }
  std::string blanks(commandLine);
  std::replace(blanks.begin(), blanks.end(), '\t', ' ');
  if (joined != blanks) __builtin_trap();
  if (commandLine.empty() != words.empty()) __builtin_trap();

  tvime::InstallerCommand command = tvime::ParseInstallerCommand(commandLine);
  std::string_view action = words.empty() ? "" : std::string_view(words[0]);
  if (command.uninstall != (action == "uninstall" || action == "uninstall-tsf")) __builtin_trap();
  if (command.textService != (action == "tsf" || action == "uninstall-tsf")) __builtin_trap();
  auto expected = [&](size_t index, const char* fallback) {
    return index < words.size() && !words[index].empty() ? words[index] : std::string(fallback);
  };
  const char* file = command.textService ? tvime::kTextServiceFileName : tvime::kImeFileName;
  if (command.moduleFile != expected(1, file)) __builtin_trap();
  if (command.layoutText != expected(2, tvime::kLayoutText)) __builtin_trap();
  if (command.moduleFile.empty() || command.layoutText.empty()) __builtin_trap();

  const char* actions[2][2] = {{"install", "uninstall"}, {"tsf", "uninstall-tsf"}};
  std::string written = std::string(actions[command.textService][command.uninstall]) + ' ' +
                        command.moduleFile + ' ' + command.layoutText;
  if (!SameCommand(tvime::ParseInstallerCommand(written), command)) __builtin_trap();
  return 0;
}
