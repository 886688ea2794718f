#pragma once
// The next-word model ("nextword.bin"): for a committed word (the key) and the character written
// just before it, how often each continuation followed them in the tuning text. The follow-on
// list of a key holds the phrases that extend it; the model reorders them by how likely each is
// given what came before, and leaves the order alone where it knows nothing.
//
// Decoded layout (little-endian): 4 total length, 4 context count C, C record offsets (from the
// start of the buffer, in ascending byte order of the records' BEFORE+KEY texts), then the
// records: 1 text length T (BEFORE, two bytes, and KEY), 1 continuation count N, T text bytes,
// then N times: 1 length R, R bytes of the continuation, 2 count.
//
// The records are searched where they lie, so the model costs a process nothing beyond the bytes
// it maps (the shared image of the dictionaries holds them decoded).

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "engine/dictionary_file.h"

namespace tvime {

class NextWordModel : public DictionaryFile {
 public:
  // What followed one context, in the order of the table (most frequent first).
  class Context {
   public:
    Context() = default;
    explicit Context(const std::uint8_t* record) : record_(record) {}
    bool empty() const { return record_ == nullptr; }
    size_t size() const { return record_ ? record_[1] : 0; }
    // How often `rest` followed; 0 when the model does not list it.
    std::uint32_t CountOf(std::string_view rest) const;
    // The sum of the counts: how much the model saw of this context.
    std::uint32_t Total() const;

   private:
    const std::uint8_t* record_ = nullptr;
  };

  bool Parse() override;
  // The count of records that Parse found whole: with it a process that maps the image of the
  // dictionaries need not walk every record to know how many it may search.
  std::vector<std::uint8_t> SerializeIndex() const override;
  bool AdoptIndex(ByteSpan index, IndexCheck check = IndexCheck::Entries) override;
  // The context of `key` after the text `before` (only its last character counts); empty when
  // the model has not seen it, or `before` is empty.
  Context Find(std::string_view before, std::string_view key) const;

 protected:
  void Clear() override;

 private:
  std::string_view RecordText(std::uint32_t offset) const;
  // How many of the first `listed` records lie whole inside the buffer, in a row from the first.
  size_t WholeRecords(size_t listed) const;

  std::span<const std::uint8_t> offsets_;  // C little-endian offsets, in the buffer
};

}  // namespace tvime
