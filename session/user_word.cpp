#include "session/user_word.h"

#include "base/gbk.h"

namespace tvime {

UserWordResult CreateUserWord(Lexicon& lexicon, std::string_view selected, UserWordPath path) {
  if (GbkToUtf16(selected).size() < 2) {
    return {path == UserWordPath::Menu
                ? "你选择的词语长度不能小于2个汉字并且词组中不能包含非法字符。"
                : "你选择的词语长度不能小于2个汉字。",
            false};
  }
  switch (lexicon.CheckUserWord(selected)) {
    case Lexicon::UserWordCheck::Accepted:
      break;
    case Lexicon::UserWordCheck::TooShort:  // a text of blanks and invalid bytes
      return {path == UserWordPath::Menu
                  ? "你选择的词语长度不能小于2个汉字并且词组中不能包含非法字符。"
                  : "你选择的词语长度不能小于2个汉字。",
              false};
    case Lexicon::UserWordCheck::TooLong:
      return {"你选择的词语太长，不能超过1023个字符。", false};
    case Lexicon::UserWordCheck::HasLineBreak:
      return {"你选择的词语中不能包含换行。", false};
    case Lexicon::UserWordCheck::KnownPhrase:
      return {"你选择的词语已经在系统词库中。", false};
    case Lexicon::UserWordCheck::KnownUserWord:
      return {"你选择的词语已经存在。", false};
  }
  lexicon.AddUserWord(selected);
  lexicon.SaveUserWords();  // a failed save is not reported
  return {"恭喜！添加词语成功。", true};
}

}  // namespace tvime
