// The composition window's mouse and paint: the button bar first, then the current sub-panel,
// and the hint strip that says what the hovered item is.

#include "base/gbk.h"
#include "session/composition_panel.h"
#include "session/stroke_subpanel.h"

namespace tvime {
namespace {

constexpr int kHintRowHeight = 18;
constexpr int kStrokeGlyphWidth = 10;
constexpr int kStrokeGlyphHeight = 20;

bool SameItem(const PanelItem& a, const PanelItem& b) {
  return a.kind == b.kind && a.value == b.value && a.rect == b.rect;
}

}  // namespace

MouseResult CompositionPanel::Mouse(ContextHandle context, MouseEvent event, int x, int y) {
  MouseResult result;
  cursorInside_ = true;
  cursorX_ = x;
  cursorY_ = y;
  int button = bar_.ButtonAt(x, y, scale_);
  if (event == MouseEvent::LeftDown) pressedButton_ = button;
  if (event == MouseEvent::LeftUp) pressedButton_ = -1;

  if (button != bar_.hovered || event == MouseEvent::LeftDown) {
    bar_.hovered = button;
    host_.Invalidate(false);
  }
  if (button >= 0 && event != MouseEvent::Move) {
    result.taken = true;
    const ToolbarButton& pressed = bar_.buttons()[button];
    if (event == MouseEvent::LeftDown || event == MouseEvent::RightDown) {
      result.startDrag = pressed.command == kCmdMove;
    } else if (!runningCommand_) {
      // A command may run a modal loop that delivers mouse messages; it never runs twice.
      runningCommand_ = true;
      if (event == MouseEvent::RightUp && pressed.command == kCmdSearch) {
        Command(context, kCmdEngineMenu);
      } else if (event == MouseEvent::LeftUp) {
        Command(context, pressed.command);
      }
      runningCommand_ = false;
    }
    return result;
  }
  if (button < 0 && event == MouseEvent::LeftUp && scale_.Of(kHintStrip).Contains(x, y)) {
    result.taken = result.hintClick = true;
    return result;
  }

  result.taken = true;
  switch (event) {
    case MouseEvent::Move:
      Hover(x, y);
      break;
    case MouseEvent::LeftUp:
      currentSubpanel().Click(context, x, y);
      Hover(x, y, true);
      break;
    case MouseEvent::RightUp:
      host_.LookUpWord(currentSubpanel().RightClickText(x, y));
      break;
    default:
      break;
  }
  return result;
}

void CompositionPanel::MouseLeft() {
  cursorInside_ = false;
  pressedButton_ = -1;  // a release outside the window does not come here
  if (bar_.hovered >= 0) {
    bar_.hovered = -1;
    host_.Invalidate(false);
  }
  if (hovered_) {
    hovered_ = false;
    hint_ = {};
    state_.hoverText.clear();
    host_.InvalidateHintStrip();
    host_.Invalidate(false);  // the item's highlight goes too
  }
}

void CompositionPanel::DragEnded() {
  pressedButton_ = -1;
  host_.Invalidate(false);  // the Move button loses its pressed look
}

void CompositionPanel::Rehover() {
  if (cursorInside_) Hover(cursorX_, cursorY_, true);
}

void CompositionPanel::Hover(int x, int y, bool force) {
  const PanelItem* item = HitTest(currentSubpanel().VisibleItems(), x, y, scale_);
  bool changed = (item != nullptr) != hovered_ || (item && !SameItem(*item, hoveredItem_));
  if (!changed && !force) return;
  hovered_ = item != nullptr;
  hint_ = {};
  if (item) {
    hoveredItem_ = *item;
    // The letter and punctuation panels give no hints.
    if (state_.mode != ModeLetters && state_.mode != ModePunct)
      currentSubpanel().HintFor(*item, hint_);
  }
  state_.hoverText = hint_.text;
  host_.InvalidateHintStrip();
  host_.Invalidate(false);  // the highlight moves with the cursor
}

DrawList CompositionPanel::Paint() const {
  DrawList out;
  out.push_back(DrawBitmap{Artwork::Background, {0, 0, kPanelWidth, kPanelHeight}, {0, 0}});
  int framed = state_.mode == ModeLetters ? kCmdLetters
               : state_.mode == ModePunct ? kCmdPunctuation
                                          : 0;
  bar_.Paint(out, pressedButton_ >= 0 && pressedButton_ == bar_.hovered, framed);
  currentSubpanel().Paint(out, hoveredItem());
  PaintHint(out);
  return out;
}

void CompositionPanel::PaintHint(DrawList& out) const {
  if (!hovered_) return;  // the news line has the strip
  const Rect& strip = kHintStrip;
  if (hint_.stroke >= 0) {
    int width = hint_.stroke <= 3 ? 130 : 260;
    int top = hint_.stroke * kHintRowHeight;
    out.push_back(DrawBitmap{
        Artwork::StrokeHints, {0, top, width, top + kHintRowHeight}, {strip.left, strip.top}});
    return;
  }
  if (hint_.text.empty()) return;
  // The bar that ends the text is found at a character boundary: 0x7C is also a trail byte.
  size_t bar = std::string::npos;
  for (size_t at = 0; at < hint_.text.size(); at += GbkCharSizeAt(hint_.text, at)) {
    if (hint_.text[at] == '|') {
      bar = at;
      break;
    }
  }
  std::string text = hint_.text.substr(0, bar);
  int width = measure_.Measure(Font::Hint, text).width;
  out.push_back(DrawText{text, strip, Font::Hint, kBlack, AlignLeftMiddle});
  if (bar == std::string::npos) return;
  int x = strip.left + width + 10;
  int y = strip.top + (strip.height() - kStrokeGlyphHeight) / 2;
  for (char code : std::string_view(hint_.text).substr(bar + 1)) {
    size_t glyph = kStrokeCodes.find(code);
    if (glyph == std::string_view::npos || x + kStrokeGlyphWidth > strip.right) break;
    int left = static_cast<int>(glyph) * kStrokeGlyphWidth;
    out.push_back(DrawBitmap{
        Artwork::StrokeGlyphs, {left, 0, left + kStrokeGlyphWidth, kStrokeGlyphHeight}, {x, y}});
    x += kStrokeGlyphWidth;
  }
}

}  // namespace tvime
