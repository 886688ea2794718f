#pragma once
// Teaching the system a word the user selected in an application.

#include <string_view>

#include "engine/lexicon.h"

namespace tvime {

inline constexpr std::string_view kUserWordCaption = "用户造词";

// The menu's message for a too-short text is longer than the status button's.
enum class UserWordPath { Menu, StatusButton };

struct UserWordResult {
  std::string_view message;  // UTF-8, shown in a message box
  bool added;
};

// Adds the selected GBK text as a user word (saved at once) and says how it went.
UserWordResult CreateUserWord(Lexicon& lexicon, std::string_view selected, UserWordPath path);

}  // namespace tvime
