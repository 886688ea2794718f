// Typed keys: stroke keys, Chinese punctuation with its quotation toggles, full-width forms, and
// Backspace, Enter and Escape on the input.

#include "base/gbk.h"
#include "session/composition_panel.h"
#include "session/pinyin_subpanel.h"

namespace tvime {
namespace {

// Each ASCII key of the first string gives the GBK character at the same place in the second.
constexpr std::string_view kPunctuationKeys = ",./?!;:<>[]{}#%^&*()_+|\\~`";
std::string_view ChinesePunctuation(char key) {
  static const std::string kPunctuationOut =
      Utf8ToGbk("，。、？！；：《》【】『』＃％…※×（）—＋§÷～·");
  size_t at = kPunctuationKeys.find(key);
  if (at == std::string_view::npos) return {};
  return std::string_view(kPunctuationOut).substr(2 * at, 2);
}

constexpr char kOpenDoubleQuote[] = "\xA1\xB0";   // “
constexpr char kCloseDoubleQuote[] = "\xA1\xB1";  // ”
constexpr char kOpenSingleQuote[] = "\xA1\xAE";   // ‘
constexpr char kCloseSingleQuote[] = "\xA1\xAF";  // ’

char ToLower(int ch) { return static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch); }

}  // namespace

int CompositionPanel::CommitPunctuation(ContextHandle context, std::string_view text) {
  CommitNow(context, std::string(text));
  EndAssociation();
  return 1;
}

int CompositionPanel::KeyStep(ContextHandle context, int ch, bool shaped) {
  // Backspace, Enter and Escape act on the input whatever the shape: control bytes are never text.
  if (shaped && flags_.Has(CS_FULL_SHAPE) && ch >= 0x20) {
    if (CommitFullWidth(context, ch)) return 1;
    return CommitKey(context, static_cast<char>(ch)) ? 1 : 0;
  }
  const bool chinesePunctuation = flags_.Has(CS_CHINESE_PUNCT);
  switch (ch) {
    case 8:
      return Backspace(context) ? 1 : -1;
    case 13:
      PassEnter(context);
      return 1;
    case 27:
      return ClearAll(context) ? 1 : 0;
    case ' ':
      return CommitKey(context, ' ') ? 1 : 0;
    case '"':
      state_.doubleQuoteOpen = !state_.doubleQuoteOpen;
      if (chinesePunctuation) {
        return CommitPunctuation(context,
                                 state_.doubleQuoteOpen ? kOpenDoubleQuote : kCloseDoubleQuote);
      }
      return CommitKey(context, '"') ? 1 : 0;
    case '\'':
      state_.singleQuoteOpen = !state_.singleQuoteOpen;
      if (chinesePunctuation) {
        return CommitPunctuation(context,
                                 state_.singleQuoteOpen ? kOpenSingleQuote : kCloseSingleQuote);
      }
      return CommitKey(context, '\'') ? 1 : 0;
    default:
      break;
  }
  if (std::string_view out = ChinesePunctuation(static_cast<char>(ch)); !out.empty()) {
    if (chinesePunctuation) return CommitPunctuation(context, out);
    return CommitKey(context, static_cast<char>(ch)) ? 1 : 0;
  }
  // Stroke keys work on the stroke panel only; anything else goes to the application as typed.
  bool strokePanel =
      state_.mode != ModeLetters && state_.mode != ModePunct && state_.mode != ModePinyin;
  if (strokePanel && state_.keyStrokes) {
    // Most applications are never typed into with stroke keys: the keys are read when needed.
    if (state_.strokeKeys.empty()) state_.strokeKeys = settings_.StrokeKeys();
    size_t at = state_.strokeKeys.find(ToLower(ch));
    if (at != std::string::npos) return AddStroke(context, static_cast<int>(at)) ? 1 : 0;
  }
  return CommitKey(context, static_cast<char>(ch)) ? 1 : 0;
}

int CompositionPanel::HandleKey(ContextHandle context, std::uint16_t key) {
  int ch = (key >> 8) != 0 ? (key >> 8) : (key & 0xFF);
  int used = HandleCharacter(context, ch, true);
  Rehover();
  return used;
}

int CompositionPanel::BarKey(ContextHandle context, int ch) {
  return HandleCharacter(context, ch, false);
}

int CompositionPanel::HandleCharacter(ContextHandle context, int ch, bool shaped) {
  // Keys spell pinyin only while the pinyin panel is the one shown.
  if (state_.pinyinMode && state_.keyStrokes && state_.mode == ModePinyin &&
      pinyin().Key(context, ch))
    return 1;
  int result = KeyStep(context, ch, shaped);
  if (result < 0) return 0;  // a Backspace the application got: no refresh, no beep
  if (result != 0) {
    Refresh(context, false);
    return result;
  }
  host_.Beep();
  return 0;
}

}  // namespace tvime
