#pragma once
// The paged candidate lists of the panels: the character grid and the phrase strips.

#include <cstdint>
#include <span>
#include <vector>

#include "engine/lexicon.h"
#include "session/panel_item.h"
#include "session/text_measure.h"

namespace tvime {

// Items laid out in rows and shown a page of rows at a time.
class PagedItems {
 public:
  virtual ~PagedItems() = default;
  int page() const { return page_; }
  int rowsPerPage() const { return rowsPerPage_; }
  int pageCount() const;
  virtual bool empty() const = 0;
  bool NextPage();
  bool PrevPage();
  // Appends the items of the current page.
  virtual void AppendVisible(std::vector<PanelItem>& out) const = 0;

 protected:
  explicit PagedItems(int rowsPerPage) : rowsPerPage_(rowsPerPage) {}
  virtual int rowCount() const = 0;

  int page_ = 0;
  int rowsPerPage_;
};

// Characters in a grid of 10 columns from grid cell 0, 1, 2 or 4 rows per page. Only the values
// are kept: a list can hold every character of the set (the idle panel's), and only a page of
// them is ever shown.
class CharGrid : public PagedItems {
 public:
  explicit CharGrid(int rowsPerPage = 2) : PagedItems(rowsPerPage) {}
  // Starts at the first page.
  void Fill(std::span<const CandidateId> values);
  void SetRowsPerPage(int rows);
  bool empty() const override { return values_.empty(); }
  void AppendVisible(std::vector<PanelItem>& out) const override;
  // Every item of every page, laid out as its page shows it.
  std::vector<PanelItem> items() const;

 private:
  int rowCount() const override;
  PanelItem ItemAt(size_t position) const;

  std::vector<CandidateId> values_;
};

// Phrase labels flowing left to right from a grid row; a label that would pass the hint strip's
// right edge starts the next row. A label is the phrase without its first `prefixLength` bytes
// (the shared start the user has already), cut to 6 bytes and ".." when 9 bytes or longer.
class PhraseStrip : public PagedItems {
 public:
  PhraseStrip(int originY, int rowsPerPage) : PagedItems(rowsPerPage), originY_(originY) {}
  // Starts at the first page. `ids` are phrase ids or user-word ids of the lexicon.
  void Fill(const Lexicon& lexicon, std::span<const std::uint32_t> ids, size_t prefixLength,
            const TextMeasure& measure);
  void SetRowsPerPage(int rows);
  void Clear();
  // The bytes each label leaves out of its phrase: a click sends the phrase without them.
  size_t prefixLength() const { return prefixLength_; }
  const std::vector<PanelItem>& items() const { return items_; }
  bool empty() const override { return items_.empty(); }
  void AppendVisible(std::vector<PanelItem>& out) const override;

 private:
  int rowCount() const override { return items_.empty() ? 0 : items_.back().row + 1; }
  void Layout(const TextMeasure& measure);

  std::vector<PanelItem> items_;
  int originY_;
  size_t prefixLength_ = 0;
  std::vector<std::uint32_t> ids_;
  std::vector<std::string> labels_;
  const TextMeasure* measure_ = nullptr;
};

std::string PhraseLabel(std::string_view text, size_t prefixLength);

}  // namespace tvime
