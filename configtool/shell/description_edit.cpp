#include "configtool/shell/description_edit.h"

#include <cstdio>
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

void AppendText(const char* text, std::vector<std::uint8_t>* out) {
  out->insert(out->end(), text, text + std::strlen(text));
}

// The path as attribute text; false for a character that XML cannot carry.
bool AppendAttributeText(std::u16string_view path, std::vector<std::uint8_t>* out) {
  for (std::size_t i = 0; i < path.size(); ++i) {
    std::uint32_t c = path[i];
    if (c < 0x20) return false;
    if (c >= 0xD800 && c <= 0xDFFF) {
      bool pair = c <= 0xDBFF && i + 1 < path.size() && path[i + 1] >= 0xDC00 && path[i + 1] <= 0xDFFF;
      if (!pair) return false;
      c = 0x10000 + ((c - 0xD800) << 10) + (path[++i] - 0xDC00u);
    }
    if (c == '&') {
      AppendText("&amp;", out);
    } else if (c == '<') {
      AppendText("&lt;", out);
    } else if (c == '"') {
      AppendText("&quot;", out);
    } else if (c < 0x80) {
      out->push_back(static_cast<std::uint8_t>(c));
    } else {
      char reference[16];
      std::snprintf(reference, sizeof reference, "&#%u;", static_cast<unsigned>(c));
      AppendText(reference, out);
    }
  }
  return true;
}

}  // namespace

bool EditDescription(const std::uint8_t* templateBytes, std::size_t size, std::u16string_view linkPath,
                     std::vector<std::uint8_t>* result) {
  result->clear();
  std::size_t keyword = FindRunKeyword(templateBytes, size);
  if (keyword >= size) return false;
  std::size_t valueStart = keyword + kRunKeywordLength;
  std::size_t valueEnd = FindQuote(templateBytes, valueStart, size);
  if (valueEnd >= size) return false;

  result->reserve(valueStart + linkPath.size() + (size - valueEnd));
  result->insert(result->end(), templateBytes, templateBytes + valueStart);
  if (!AppendAttributeText(linkPath, result)) {
    result->clear();
    return false;
  }
  result->insert(result->end(), templateBytes + valueEnd, templateBytes + size);
  return true;
}

}  // namespace configtool
