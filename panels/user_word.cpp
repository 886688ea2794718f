#include "panels/user_word.h"

#include "base/gbk.h"

namespace tvime {

UserWordResult CreateUserWord(Lexicon& lexicon, std::string_view selected, UserWordPath path) {
  if (GbkToUtf16(selected).size() < 2) {
    return {path == UserWordPath::Menu
                ? "你选择的词语长度不能小于2个汉字并且词组中不能包含非法字符。"
                : "你选择的词语长度不能小于2个汉字。",
            false};
  }
  if (!lexicon.AddUserWord(selected)) return {"你选择的词语已经存在。", false};
  lexicon.SaveUserWords();  // a failed save is not reported
  return {"恭喜！添加词语成功。", true};
}

}  // namespace tvime
