// What the configuration tool's fuzz targets share: the fuzzer's bytes read
// as the values a target needs (zeros once they run out), and the check that
// traps on a broken rule, so libFuzzer keeps the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fuzz {

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint8_t Byte() { return offset_ < size_ ? data_[offset_++] : 0; }
  std::uint16_t U16() { return static_cast<std::uint16_t>(Byte() | Byte() << 8); }
  std::uint32_t U32() { return U16() | static_cast<std::uint32_t>(U16()) << 16; }
  // Up to count bytes; fewer at the end of the input.
  std::vector<std::uint8_t> Bytes(std::size_t count) {
    std::size_t taken = count < size_ - offset_ ? count : size_ - offset_;
    std::vector<std::uint8_t> bytes(data_ + offset_, data_ + offset_ + taken);
    offset_ += taken;
    return bytes;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t offset_ = 0;
};

inline void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace fuzz
