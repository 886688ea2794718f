#include "install/installer_command.h"

namespace tvime {

std::vector<std::string> SplitInstallerWords(std::string_view commandLine) {
  std::vector<std::string> words;
  if (commandLine.empty()) return words;
  std::string word;
  for (char c : commandLine) {
    if (c == ' ' || c == '\t') {
      words.push_back(std::move(word));
      word.clear();
    } else {
      word += c;
    }
  }
  words.push_back(std::move(word));
  return words;
}

InstallerCommand ParseInstallerCommand(std::string_view commandLine) {
  std::vector<std::string> words = SplitInstallerWords(commandLine);
  InstallerCommand command;
  std::string_view action = words.empty() ? std::string_view() : std::string_view(words[0]);
  command.textService = action == "tsf" || action == "uninstall-tsf";
  command.uninstall = action == "uninstall" || action == "uninstall-tsf";
  if (command.textService) command.moduleFile = kTextServiceFileName;
  if (words.size() > 1 && !words[1].empty()) command.moduleFile = words[1];
  if (words.size() > 2 && !words[2].empty()) command.layoutText = words[2];
  return command;
}

}  // namespace tvime
