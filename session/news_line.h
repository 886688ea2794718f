#pragma once
// The news line: one entry of the news feed at a time in the hint strip, moving on every 15
// seconds unless the mouse rests on it, underlined and blue under the mouse, opened by a click on
// its text. The background service fills it from its own thread; the composition window's thread
// paints it and hands it the mouse.

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "online/news_feed.h"
#include "session/draw_list.h"
#include "session/text_measure.h"

namespace tvime {

inline constexpr std::int64_t kNewsRotationSeconds = 15;

class NewsLine {
 public:
  // `createdAt` (seconds) starts the first 15 seconds.
  NewsLine(Rect rect, std::int64_t createdAt) : rect_(rect), lastRotation_(createdAt) {}

  // Any thread: the entries to show from now on. The line stays on its entry when the new list
  // still reaches it (an hourly reload does not jump back to the first), else starts again.
  void SetEntries(std::vector<NewsEntry> entries);
  // True once after each SetEntries: the window repaints the line.
  bool TakeChanged();

  // A tick of the window's timer: true when the line moved on to the next entry.
  bool Tick(std::int64_t now, Point pointer);
  // The mouse moved: true when it entered or left the line (the underline changes).
  bool Hover(Point pointer);

  // The current entry in the line's font and colour, 2 pixels in from the left, vertically
  // centred; nothing while there are no entries. (Returned, not appended: windows.h renames
  // DrawText, and a parameter of the list's type would link under two names.)
  DrawList Paint() const;
  // The entry whose text is under `point` (the text's measured width, the line's full height).
  std::optional<NewsEntry> EntryAt(Point point, const TextMeasure& measure) const;
  // The tooltip: the entry's text under the same rule as a click, else empty.
  std::string TooltipAt(Point point, const TextMeasure& measure) const;

  // The line's strip in 96-dpi units; pointer positions are device pixels of the window drawn at
  // scale() (Paint stays in 96-dpi units, as the panel's list it joins).
  const Rect& rect() const { return rect_; }
  LayoutScale scale() const { return scale_; }
  void SetScale(LayoutScale scale) { scale_ = scale; }
  bool hovered() const { return hovered_; }

 private:
  Font CurrentFont() const { return hovered_ ? Font::NewsHovered : Font::News; }

  Rect rect_;
  LayoutScale scale_;
  mutable std::mutex mutex_;  // guards entries_, index_ and changed_
  std::vector<NewsEntry> entries_;
  size_t index_ = 0;
  bool changed_ = false;
  std::int64_t lastRotation_;
  bool hovered_ = false;
};

}  // namespace tvime
