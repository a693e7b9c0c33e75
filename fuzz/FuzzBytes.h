// The fuzz input read from the front, as the targets decode it; bytes past
// its end read as 0, so every input decodes to something.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace FuzzChecks {

class FuzzBytes {
 public:
  FuzzBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool AtEnd() const { return pos_ >= size_; }
  std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  std::int8_t Int8() { return static_cast<std::int8_t>(Byte()); }
  std::int16_t Int16() {
    const auto lo = static_cast<std::uint16_t>(Byte());
    const auto hi = static_cast<std::uint16_t>(Byte());
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
  }
  std::int32_t Int32() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(Byte()) << (8 * i);
    std::int32_t out;
    std::memcpy(&out, &v, sizeof(out));
    return out;
  }
  // Eight bytes as a double's bit pattern: any value, inf and nan included.
  double Bits() {
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits |= static_cast<std::uint64_t>(Byte()) << (8 * i);
    double v;
    std::memcpy(&v, &bits, sizeof(v));
    return v;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

} // namespace FuzzChecks
