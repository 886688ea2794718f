#pragma once
// Bounds-checked little-endian reads from a byte buffer. Every parser of data that comes from
// outside reads through this, so that a length or count that runs past the end fails cleanly.

#include <cstdint>
#include <span>

namespace tvime {

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes, size_t offset = 0)
      : bytes_(bytes), offset_(offset) {}

  size_t offset() const { return offset_; }
  size_t remaining() const { return offset_ <= bytes_.size() ? bytes_.size() - offset_ : 0; }
  bool Has(size_t count) const { return remaining() >= count; }

  bool ReadU8(std::uint8_t& value) {
    if (!Has(1)) return false;
    value = bytes_[offset_++];
    return true;
  }
  bool ReadU16(std::uint16_t& value) {
    if (!Has(2)) return false;
    value = static_cast<std::uint16_t>(bytes_[offset_] | (bytes_[offset_ + 1] << 8));
    offset_ += 2;
    return true;
  }
  bool ReadU32(std::uint32_t& value) {
    if (!Has(4)) return false;
    value = static_cast<std::uint32_t>(bytes_[offset_]) |
            (static_cast<std::uint32_t>(bytes_[offset_ + 1]) << 8) |
            (static_cast<std::uint32_t>(bytes_[offset_ + 2]) << 16) |
            (static_cast<std::uint32_t>(bytes_[offset_ + 3]) << 24);
    offset_ += 4;
    return true;
  }
  bool Skip(size_t count) {
    if (!Has(count)) return false;
    offset_ += count;
    return true;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  size_t offset_;
};

inline std::uint16_t ReadU16At(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

}  // namespace tvime
