#include "configtool/shell/description_edit.h"

#include <cstring>

namespace configtool {

namespace {

constexpr char kRunKeyword[] = "run=\"";
constexpr std::size_t kRunKeywordLength = sizeof kRunKeyword - 1;

bool StartsDoubleByteCharacter(std::uint8_t byte) { return byte >= 0x80; }

// Position of the first run=", double-byte characters skipped; size when there is none.
std::size_t FindRunKeyword(const std::uint8_t* bytes, std::size_t size) {
  std::size_t p = 0;
  while (p < size) {
    if (StartsDoubleByteCharacter(bytes[p])) {
      p += 2;
      continue;
    }
    if (size - p >= kRunKeywordLength && std::memcmp(bytes + p, kRunKeyword, kRunKeywordLength) == 0) return p;
    ++p;
  }
  return size;
}

std::size_t FindQuote(const std::uint8_t* bytes, std::size_t from, std::size_t size) {
  std::size_t q = from;
  while (q < size) {
    if (StartsDoubleByteCharacter(bytes[q])) {
      q += 2;
      continue;
    }
    if (bytes[q] == '"') return q;
    ++q;
  }
  return size;
}

}  // namespace

bool EditDescription(const std::uint8_t* templateBytes, std::size_t size, const char* linkPath,
                     std::vector<std::uint8_t>* result) {
  result->clear();
  std::size_t keyword = FindRunKeyword(templateBytes, size);
  if (keyword >= size) return false;
  std::size_t valueStart = keyword + kRunKeywordLength;
  std::size_t valueEnd = FindQuote(templateBytes, valueStart, size);
  if (valueEnd >= size) return false;

  std::size_t pathLength = std::strlen(linkPath);
  result->reserve(valueStart + pathLength + (size - valueEnd));
  result->insert(result->end(), templateBytes, templateBytes + valueStart);
  result->insert(result->end(), linkPath, linkPath + pathLength);
  result->insert(result->end(), templateBytes + valueEnd, templateBytes + size);
  return true;
}

}  // namespace configtool
