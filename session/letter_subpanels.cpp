#include "session/letter_subpanels.h"

#include <array>

#include "base/gbk.h"
#include "session/composition_panel.h"
#include "session/stroke_subpanel.h"

namespace tvime {
namespace {

constexpr int kCell = 18;
constexpr int kCellsPerRow = 14;
constexpr char16_t kSpaceKey = u'空';
constexpr char16_t kEnterKey = u'回';
constexpr std::int64_t kCapitalsValue = 99;
constexpr Rect kCapitalsButton{7, 106, 7 + 60, 106 + 22};

constexpr std::u16string_view kLetters =
    u"abcdefghijklm nopqrstuvwxyz 1234567890-_()    ,.?!;:\"'空回";

constexpr std::array<std::u16string_view, 3> kPunctuationPages = {
    u"，。、！？；：“”…‘’～·—《》（）【】〖〗『』＋－×,.?!;:\"'_()%+-@$＠＆§◎＃￥％℃℉№空回",
    u"÷＝‥‖︻︼﹃﹄      */=~`<>{}[]\\|^●△▲☆★◇◆□■▽▼♀♂⊕⊙＊※○〓€￠￡",
    u"∽≈≌≒≠≡≤≥≦≧≮≯⊕⊙｛｝【】“”‘’《》、｜？⊿←↑→↓↖↗↘↙∈∏∑∕√∝∟∠∣∥∧∨∩∪∫∮∴∵∶∷"};

std::string ToGbk(char16_t character) { return Utf16ToGbk(std::u16string_view(&character, 1)); }

}  // namespace

void CharacterSubpanel::LayOut(std::u16string_view characters, bool spaceItems) {
  visible_.clear();
  for (size_t i = 0; i < characters.size(); ++i) {
    if (characters[i] == u' ' && !spaceItems) continue;
    int x = 7 + static_cast<int>(i % kCellsPerRow) * kCell;
    int y = 31 + static_cast<int>(i / kCellsPerRow) * kCellPitch;
    visible_.push_back(
        {characters[i], {x, y, x + kCell, y + kCell}, 0, ToGbk(characters[i]), ItemLetter});
  }
}

void CharacterSubpanel::Commit(ContextHandle context, char16_t character, std::string_view space) {
  if (character == kEnterKey) {
    panel_.Apply(context, UserAction::TypedKey('\r'));  // after any pending text, as the Enter key
  } else {
    panel_.CommitSymbol(context, character == kSpaceKey ? std::string(space) : ToGbk(character));
  }
}

void CharacterSubpanel::PaintCharacters(DrawList& out, const PanelItem* hovered) const {
  // Pending text waits on the line here too: the next character clicked sends it first.
  const SessionState& state = panel_.state();
  if (state.searchMode && !state.pendingPhrase.empty())
    PaintLineText(out, panel_.measure(), state.pendingPhrase, kLineLeft, kLineRight);
  for (const PanelItem& item : visible_) {
    if (hovered && hovered->rect == item.rect) out.push_back(DrawHighlight{item.rect, false});
    if (item.kind == ItemLetter) {
      out.push_back(DrawText{item.label, item.rect, Font::Candidate, kBlack, AlignCenter});
    }
  }
}

LetterSubpanel::LetterSubpanel(CompositionPanel& panel) : CharacterSubpanel(panel, ModeLetters) {
  LayOutWithCapitals();
}

void LetterSubpanel::LayOutWithCapitals() {
  LayOut(kLetters, false);
  for (PanelItem& item : visible_) {
    char16_t c = static_cast<char16_t>(item.value);
    if (capitals && c >= u'a' && c <= u'z') item.label = ToGbk(static_cast<char16_t>(c - 32));
  }
  visible_.push_back({kCapitalsValue, kCapitalsButton, 0, {}, ItemCapitals});
}

bool CharacterSubpanel::ClickLine(ContextHandle context, int x, int y) {
  if (!panel_.scale().Of(kCompositionLine).Contains(x, y)) return false;
  panel_.CommitPending(context);  // the pending text shown there
  panel_.AfterClick(context);
  return true;
}

bool LetterSubpanel::Click(ContextHandle context, int x, int y) {
  const PanelItem* item = HitTest(visible_, x, y, panel_.scale());
  if (!item) return ClickLine(context, x, y);
  if (item->kind == ItemCapitals) {
    capitals = !capitals;
    LayOutWithCapitals();
    panel_.Refresh(context, false);
    panel_.host().Invalidate(false);
  } else {
    char16_t c = static_cast<char16_t>(item->value);
    if (capitals && c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
    Commit(context, c, " ");
  }
  panel_.AfterClick(context);
  return true;
}

void LetterSubpanel::Paint(DrawList& out, const PanelItem* hovered) const {
  PaintCharacters(out, hovered);
  // The right image while capitals are off, the left while on.
  int left = capitals ? 0 : 60;
  out.push_back(DrawBitmap{Artwork::CapitalsButton,
                           {left, 0, left + 60, 22},
                           {kCapitalsButton.left, kCapitalsButton.top}});
}

PunctuationSubpanel::PunctuationSubpanel(CompositionPanel& panel)
    : CharacterSubpanel(panel, ModePunct) {
  LayOut(kPunctuationPages[0], true);
}

bool PunctuationSubpanel::NextPage() {
  if (page >= static_cast<int>(kPunctuationPages.size()) - 1) return false;
  LayOut(kPunctuationPages[++page], true);
  return true;
}

bool PunctuationSubpanel::PrevPage() {
  if (page <= 0) return false;
  LayOut(kPunctuationPages[--page], true);
  return true;
}

bool PunctuationSubpanel::Click(ContextHandle context, int x, int y) {
  const PanelItem* item = HitTest(visible_, x, y, panel_.scale());
  if (!item) return ClickLine(context, x, y);
  char16_t c = static_cast<char16_t>(item->value);
  if (c != u' ') Commit(context, c, "\xA1\xA1");  // "空" is the ideographic space here
  // One click gives one symbol: back to the stroke panel.
  panel_.ReturnToStrokePanel(context);
  panel_.AfterClick(context);
  return true;
}

void PunctuationSubpanel::Paint(DrawList& out, const PanelItem* hovered) const {
  PaintCharacters(out, hovered);
}

}  // namespace tvime
