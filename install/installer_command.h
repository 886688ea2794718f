#pragma once
// The installer's command line: "[install|uninstall] [module file] [layout text]" for the
// input-method module, "tsf|uninstall-tsf [text service file]" for the text service.

#include <string>
#include <string_view>
#include <vector>

#include "base/product_title.h"

namespace tvime {

inline constexpr char kImeFileName[] = "tvime30.ime";
inline constexpr char kTextServiceFileName[] = "tvimetsf.dll";
inline constexpr char kLayoutText[] = "中文-" TVIME_PRODUCT_NAME TVIME_PRODUCT_VERSION;

// Splits at every blank or tab: two separators in a row give an empty word between them.
std::vector<std::string> SplitInstallerWords(std::string_view commandLine);

struct InstallerCommand {
  bool uninstall = false;
  bool textService = false;  // the text service (tvimetsf.dll) rather than the module
  std::string moduleFile = kImeFileName;
  std::string layoutText = kLayoutText;
};

// Word 1 exactly "uninstall" (case counts) removes; anything else installs. A missing or empty
// word 2 or 3 takes the default. Word 1 exactly "tsf" registers the text service named by word 2
// (default tvimetsf.dll), "uninstall-tsf" removes its registration; word 3 is then ignored.
InstallerCommand ParseInstallerCommand(std::string_view commandLine);

}  // namespace tvime
