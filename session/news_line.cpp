#include "session/news_line.h"

namespace tvime {
namespace {

constexpr Color kNewsColor{57, 77, 132};
constexpr int kTextIndent = 2;

}  // namespace

void NewsLine::SetEntries(std::vector<NewsEntry> entries) {
  std::lock_guard lock(mutex_);
  entries_ = std::move(entries);
  if (index_ >= entries_.size()) index_ = 0;
  changed_ = true;
}

bool NewsLine::TakeChanged() {
  std::lock_guard lock(mutex_);
  bool changed = changed_;
  changed_ = false;
  return changed;
}

bool NewsLine::Tick(std::int64_t now, Point pointer) {
  if (now - lastRotation_ < kNewsRotationSeconds) return false;
  if (scale_.Of(rect_).Contains(pointer.x, pointer.y)) return false;  // held while pointed at
  std::lock_guard lock(mutex_);
  if (entries_.empty()) return false;  // nothing to move on to
  lastRotation_ = now;
  if (++index_ >= entries_.size()) index_ = 0;
  return true;
}

bool NewsLine::Hover(Point pointer) {
  bool inside = scale_.Of(rect_).Contains(pointer.x, pointer.y);
  if (inside == hovered_) return false;
  hovered_ = inside;
  return true;
}

DrawList NewsLine::Paint() const {
  DrawList out;
  std::lock_guard lock(mutex_);
  if (index_ >= entries_.size()) return out;
  Rect text = rect_;
  text.left += kTextIndent;
  text.right += kTextIndent;
  out.push_back(DrawText{entries_[index_].text, text, CurrentFont(), hovered_ ? kBlue : kNewsColor,
                         AlignLeftMiddle});
  return out;
}

std::optional<NewsEntry> NewsLine::EntryAt(Point point, const TextMeasure& measure) const {
  std::lock_guard lock(mutex_);
  if (index_ >= entries_.size()) return std::nullopt;
  const NewsEntry& entry = entries_[index_];
  int width = measure.Measure(CurrentFont(), entry.text).width;
  Rect onText = scale_.Of({rect_.left, rect_.top, rect_.left + width, rect_.bottom});
  if (!onText.Contains(point.x, point.y)) return std::nullopt;
  return entry;
}

std::string NewsLine::TooltipAt(Point point, const TextMeasure& measure) const {
  std::optional<NewsEntry> entry = EntryAt(point, measure);
  return entry ? entry->text : std::string();
}

}  // namespace tvime
