#include "session/candidate_lists.h"

#include <algorithm>

#include "base/gbk.h"

namespace tvime {
namespace {

constexpr int kCandidateSize = 20;
constexpr int kFirstCandidateX = 7;

}  // namespace

int PagedItems::pageCount() const { return (rowCount() + rowsPerPage_ - 1) / rowsPerPage_; }

bool PagedItems::NextPage() {
  if (page_ + 1 >= pageCount()) return false;
  ++page_;
  return true;
}

bool PagedItems::PrevPage() {
  if (page_ == 0) return false;
  --page_;
  return true;
}

void PhraseStrip::AppendVisible(std::vector<PanelItem>& out) const {
  for (const PanelItem& item : items_) {
    if (item.row / rowsPerPage_ == page_) out.push_back(item);
  }
}

void CharGrid::Fill(std::span<const CandidateId> values) {
  values_.assign(values.begin(), values.end());
  page_ = 0;
}

void CharGrid::SetRowsPerPage(int rows) {
  if (rows == rowsPerPage_) return;
  rowsPerPage_ = rows;
  page_ = 0;
}

int CharGrid::rowCount() const {
  return static_cast<int>((values_.size() + kGridColumns - 1) / kGridColumns);
}

PanelItem CharGrid::ItemAt(size_t position) const {
  int column = static_cast<int>(position % kGridColumns);
  int row = static_cast<int>(position / kGridColumns);
  int left = GridCell(column).x - 1;
  int top = GridCell(0).y + (row % rowsPerPage_) * kCellPitch - 1;
  return {values_[position],
          {left, top, left + kCandidateSize, top + kCandidateSize},
          row,
          {},
          ItemCharacter};
}

void CharGrid::AppendVisible(std::vector<PanelItem>& out) const {
  size_t perPage = static_cast<size_t>(rowsPerPage_) * kGridColumns;
  size_t first = static_cast<size_t>(page_) * perPage;
  for (size_t i = first; i < values_.size() && i < first + perPage; ++i) out.push_back(ItemAt(i));
}

std::vector<PanelItem> CharGrid::items() const {
  std::vector<PanelItem> all;
  all.reserve(values_.size());
  for (size_t i = 0; i < values_.size(); ++i) all.push_back(ItemAt(i));
  return all;
}

std::string PhraseLabel(std::string_view text, size_t prefixLength) {
  std::string_view rest = text.substr(std::min(prefixLength, text.size()));
  if (rest.size() >= 9) return std::string(GbkPrefix(rest, 6)) + "..";
  return std::string(rest);
}

void PhraseStrip::Fill(const Lexicon& lexicon, std::span<const std::uint32_t> ids,
                       size_t prefixLength, const TextMeasure& measure) {
  ids_.assign(ids.begin(), ids.end());
  prefixLength_ = prefixLength;
  labels_.clear();
  for (std::uint32_t id : ids_)
    labels_.push_back(PhraseLabel(lexicon.CandidateText(id), prefixLength));
  page_ = 0;
  Layout(measure);
}

void PhraseStrip::SetRowsPerPage(int rows) {
  if (rows == rowsPerPage_) return;
  rowsPerPage_ = rows;
  page_ = 0;
  if (measure_) Layout(*measure_);
}

void PhraseStrip::Clear() {
  ids_.clear();
  prefixLength_ = 0;
  labels_.clear();
  items_.clear();
  page_ = 0;
}

void PhraseStrip::Layout(const TextMeasure& measure) {
  measure_ = &measure;
  items_.clear();
  int x = kFirstCandidateX;
  int row = 0;
  for (size_t i = 0; i < ids_.size(); ++i) {
    TextSize size = measure.Measure(Font::Phrase, labels_[i]);
    if (x > kFirstCandidateX && x + size.width + 4 > kHintStrip.right) {
      ++row;
      x = kFirstCandidateX;
    }
    int y = originY_ + (row % rowsPerPage_) * kCellPitch - 1;
    items_.push_back({ids_[i],
                      {x - 2, y, x + size.width + 4, y + size.height + 3},
                      row,
                      labels_[i],
                      ItemPhrase});
    x += size.width + 8;
  }
}

}  // namespace tvime
