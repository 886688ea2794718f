#include "session/stroke_subpanel.h"

#include "base/gbk.h"
#include "session/composition_panel.h"

namespace tvime {
namespace {

constexpr int kIconSize = 18;
constexpr int kStrokeGlyphWidth = 10;
constexpr int kStrokeGlyphHeight = 20;
constexpr Rect kStrokeArea{1, 78, 131, 129};
constexpr char kEllipsis[] = "\xA1\xAD";  // …

Rect IconCell(int index) { return {index * kIconSize, 0, (index + 1) * kIconSize, kIconSize}; }

}  // namespace

std::string FitLineEnd(const TextMeasure& measure, std::string_view text, int width) {
  if (measure.Measure(Font::Candidate, text).width <= width) return std::string(text);
  // The end is what was typed last: characters go from the start, behind an ellipsis.
  std::string_view rest = text;
  while (!rest.empty()) {
    rest = rest.substr(GbkCharSizeAt(rest, 0));
    std::string shown = kEllipsis + std::string(rest);
    if (measure.Measure(Font::Candidate, shown).width <= width) return shown;
  }
  return {};
}

int PaintLineText(DrawList& out, const TextMeasure& measure, std::string_view text, int left,
                  int right) {
  std::string shown = FitLineEnd(measure, text, right - left);
  if (shown.empty()) return left;
  int width = measure.Measure(Font::Candidate, shown).width;
  out.push_back(DrawText{shown,
                         {left, kLineTop, left + width, kLineTop + kStrokeGlyphHeight},
                         Font::Candidate,
                         kBlack,
                         AlignLeftMiddle});
  return left + width;
}

Rect StrokeButtonRect(int index) {
  int left = 7 + (index % 5) * 25, top = 81 + (index / 5) * 25;
  return {left, top, left + 20, top + 20};
}

Rect SymbolButtonRect(int index) {
  int left = 137 + (index % 7) * 18, top = 81 + (index / 7) * 26;
  return {left, top, left + 18, top + 18};
}

std::vector<PanelItem> SymbolItems() {
  std::vector<PanelItem> items;
  for (int i = 0; i < static_cast<int>(kSymbolButtons.size()); ++i) {
    items.push_back({i, SymbolButtonRect(i), 0, {}, ItemSymbol});
  }
  return items;
}

std::vector<PanelItem> SymbolRowItems(int left, int top) {
  std::vector<PanelItem> items;
  for (int i = 0; i < static_cast<int>(kSymbolButtons.size()); ++i) {
    int x = left + i * kIconSize;
    items.push_back({i, {x, top, x + kIconSize, top + kIconSize}, 0, {}, ItemSymbol});
  }
  return items;
}

void ClickSymbol(CompositionPanel& panel, ContextHandle context, int index) {
  char16_t symbol = kSymbolButtons[index];
  if (symbol == u'\n') {
    panel.Apply(context, UserAction::TypedKey(13));
  } else {
    panel.CommitSymbol(context, Utf16ToGbk(std::u16string_view(&symbol, 1)));
  }
}

void PaintButtons(DrawList& out, const std::vector<PanelItem>& items, const PanelItem* hovered) {
  for (const PanelItem& item : items) {
    if (hovered && hovered->kind == item.kind && hovered->value == item.value &&
        hovered->rect == item.rect) {
      out.push_back(DrawHighlight{item.rect, false});
    }
    int icon = static_cast<int>(item.value);
    switch (item.kind) {
      case ItemStroke:
        out.push_back(DrawBitmap{Artwork::StrokeIcons,
                                 IconCell(icon),
                                 {item.rect.left + (item.rect.width() - kIconSize) / 2,
                                  item.rect.top + (item.rect.height() - kIconSize) / 2}});
        break;
      case ItemSymbol:
        out.push_back(
            DrawBitmap{Artwork::SymbolIcons, IconCell(icon), {item.rect.left, item.rect.top}});
        break;
      case ItemRadical:
        out.push_back(DrawBitmap{Artwork::RadicalIcons,
                                 {(icon % 45) * kIconSize, (icon / 45) * kIconSize,
                                  (icon % 45 + 1) * kIconSize, (icon / 45 + 1) * kIconSize},
                                 {item.rect.left + 2, item.rect.top + 2}});
        break;
      default:
        break;
    }
  }
}

StrokeSubpanel::StrokeSubpanel(CompositionPanel& panel) : Subpanel(panel, ModeIdle) { Rebuild(); }

void StrokeSubpanel::Rebuild() {
  visible_.clear();
  if (panel_.state().mode == ModeAssociation) {
    association.AppendVisible(visible_);
  } else {
    characters.AppendVisible(visible_);
    phrases.AppendVisible(visible_);
  }
  for (int i = 0; i < static_cast<int>(kStrokeCodes.size()); ++i) {
    visible_.push_back({i, StrokeButtonRect(i), 0, {}, ItemStroke});
  }
  std::vector<PanelItem> symbols = SymbolItems();
  visible_.insert(visible_.end(), symbols.begin(), symbols.end());
}

std::string StrokeSubpanel::CharacterText(std::int64_t value) const {
  const Lexicon& lexicon = panel_.lexicon();
  if (panel_.state().mode == ModeRadical || panel_.state().mode == ModeRadicalStrokes) {
    const TextPair* pair = lexicon.PairOf(panel_.state().radicalIndex, static_cast<size_t>(value));
    return pair ? pair->first : "";
  }
  return value >= 0 && static_cast<size_t>(value) < lexicon.characters().count
             ? lexicon.characters().EntryAt(static_cast<size_t>(value)).text
             : "";
}

bool StrokeSubpanel::Click(ContextHandle context, int x, int y) {
  const PanelItem* item = HitTest(visible_, x, y, panel_.scale());
  if (!item) {
    if (panel_.scale().Of(kCompositionLine).Contains(x, y)) panel_.CommitPending(context);
    panel_.AfterClick(context);
    return false;
  }
  PanelItem hit = *item;  // the lists change under the operations below
  bool changed = false;
  switch (hit.kind) {
    case ItemCharacter:
      changed = panel_.ChooseCharacter(context, static_cast<CandidateId>(hit.value));
      break;
    case ItemRadical:
      changed = panel_.ChooseRadical(context, static_cast<int>(hit.value));
      break;
    case ItemStroke:
      changed = panel_.AddStroke(context, static_cast<int>(hit.value));
      break;
    case ItemSymbol:
      ClickSymbol(panel_, context, static_cast<int>(hit.value));
      break;
    case ItemPhrase: {
      // Only what the label shows is sent: the strip that drew it knows the start it left out.
      const PhraseStrip& strip = panel_.state().mode == ModeAssociation ? association : phrases;
      std::string text(panel_.lexicon().CandidateText(static_cast<std::uint32_t>(hit.value)));
      if (!text.empty()) panel_.ChoosePhrase(context, text, strip.prefixLength());
      break;
    }
    default:
      break;
  }
  if (changed) panel_.Refresh(context, false);
  panel_.AfterClick(context);
  return true;
}

std::string StrokeSubpanel::RightClickText(int x, int y) const {
  const PanelItem* item = HitTest(visible_, x, y, panel_.scale());
  if (!item) return {};
  if (item->kind == ItemCharacter) return CharacterText(item->value);
  if (item->kind == ItemPhrase) {
    return std::string(panel_.lexicon().CandidateText(static_cast<std::uint32_t>(item->value)));
  }
  return {};
}

bool StrokeSubpanel::HintFor(const PanelItem& item, Hint& hint) const {
  switch (item.kind) {
    case ItemCharacter:
      hint.text = panel_.lexicon().DescribeCandidate(
          panel_.state().mode, static_cast<std::uint32_t>(item.value),
          {.radicalGroup = static_cast<size_t>(panel_.state().radicalIndex)});
      return !hint.text.empty();
    case ItemStroke:
      hint.stroke = static_cast<int>(item.value);
      return true;
    case ItemPhrase: {
      std::string_view text =
          panel_.lexicon().CandidateText(static_cast<std::uint32_t>(item.value));
      if (text.size() < 7) return false;
      hint.text = std::string(text);
      return true;
    }
    default:
      return false;
  }
}

void StrokeSubpanel::Paint(DrawList& out, const PanelItem* hovered) const {
  // The composition line: pending text, then what is being typed, all left of the bar's buttons.
  // Long input keeps its end in view.
  const SessionState& state = panel_.state();
  const TextMeasure& measure = panel_.measure();
  const int y = kLineTop;
  int x = kLineLeft;
  auto strokeGlyphs = [&](std::string_view codes, int from) {
    int room = kLineRight - from;
    if (static_cast<int>(codes.size()) * kStrokeGlyphWidth > room) {
      int ellipsis = measure.Measure(Font::Candidate, kEllipsis).width;
      if (ellipsis + kStrokeGlyphWidth <= room) {
        out.push_back(DrawText{kEllipsis,
                               {from, y, from + ellipsis, y + kStrokeGlyphHeight},
                               Font::Candidate,
                               kBlack,
                               AlignLeftMiddle});
        from += ellipsis;
      }
      size_t fits = static_cast<size_t>(std::max(0, (kLineRight - from) / kStrokeGlyphWidth));
      codes = codes.substr(codes.size() - std::min(fits, codes.size()));
    }
    for (char code : codes) {
      size_t glyph = kStrokeCodes.find(code);
      if (glyph == std::string_view::npos) break;
      int left = static_cast<int>(glyph) * kStrokeGlyphWidth;
      out.push_back(DrawBitmap{Artwork::StrokeGlyphs,
                               {left, 0, left + kStrokeGlyphWidth, kStrokeGlyphHeight},
                               {from, y}});
      from += kStrokeGlyphWidth;
    }
  };
  if (state.searchMode && !state.pendingPhrase.empty()) {
    // What is being typed (a radical's icon, then strokes) keeps what it needs, up to half of
    // the line; the pending text gets the rest.
    int typing = static_cast<int>(state.inputCodes.size()) * kStrokeGlyphWidth;
    if (state.mode == ModeRadical) typing = kIconSize;
    if (state.mode == ModeRadicalStrokes)
      typing = 26 + static_cast<int>(state.radicalStrokes.size()) * kStrokeGlyphWidth;
    constexpr int kGap = 5;
    int reserve =
        state.inputCodes.empty() ? 0 : std::min(typing, (kLineRight - kLineLeft) / 2) + kGap;
    x = PaintLineText(out, measure, state.pendingPhrase, x, kLineRight - reserve) + kGap;
  }
  auto radicalIcon = [&](int radical) {
    out.push_back(DrawBitmap{Artwork::RadicalIcons,
                             {(radical % 45) * kIconSize, (radical / 45) * kIconSize,
                              (radical % 45) * kIconSize + 17, (radical / 45) * kIconSize + 17},
                             {x, y}});
  };
  switch (state.mode) {
    case ModeRadical:
      radicalIcon(state.radicalIndex);
      break;
    case ModeRadicalStrokes:
      radicalIcon(state.radicalIndex);
      strokeGlyphs(state.radicalStrokes, x + 26);
      break;
    case ModeAssociation:
      if (!state.searchMode) {
        std::string_view preview = state.assocPreview;
        while (!preview.empty() && measure.Measure(Font::Candidate, preview).width > kLineRight - x)
          preview = GbkPrefix(preview, preview.size() - 1);
        out.push_back(DrawText{std::string(preview),
                               {x, y, kLineRight, y + kStrokeGlyphHeight},
                               Font::Candidate,
                               kBlack,
                               AlignLeftMiddle});
        break;
      }
      [[fallthrough]];
    default:
      strokeGlyphs(state.inputCodes, x);
      break;
  }

  out.push_back(DrawFrame{kStrokeArea, kFrameBlue, 2});
  PaintButtons(out, visible_, hovered);
  for (const PanelItem& item : visible_) {
    if (item.kind == ItemCharacter) {
      out.push_back(
          DrawText{CharacterText(item.value), item.rect, Font::Candidate, kBlack, AlignCenter});
    } else if (item.kind == ItemPhrase) {
      out.push_back(DrawText{item.label, item.rect, Font::Phrase, kBlue, AlignCenter});
    }
  }
}

}  // namespace tvime
