#include "padtool/assignment/stored_text.h"

#include <cstdio>

namespace padtool {

namespace {

bool IsSeparator(char c) { return c == ',' || c == ' '; }

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

std::size_t FormatCodes(const PadAssignment& record, char (&text)[kCodesTextSize]) {
  const auto& c = record.codes;
  int length = std::snprintf(text, sizeof text,
                             "%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d",
                             c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7], c[8], c[9], c[10], c[11], c[12], c[13],
                             c[14], c[15], c[16], c[17], c[18], c[19], c[20], c[21], c[22], c[23], c[24], c[25], c[26]);
  return length > 0 ? static_cast<std::size_t>(length) : 0;
}

std::size_t FormatFlags(const PadAssignment& record, char (&text)[kFlagsTextSize]) {
  int length = std::snprintf(text, sizeof text, "%d,%d,%d,%d", record.gamepadEnabled, record.forceFeedbackEnabled,
                             record.sliderEnabled, record.hatSwitchesEnabled);
  return length > 0 ? static_cast<std::size_t>(length) : 0;
}

std::int32_t ParseField(const char* field, std::size_t length) {
  std::size_t i = 0;
  while (i < length && IsSpace(field[i])) ++i;
  bool negative = false;
  if (i < length && (field[i] == '+' || field[i] == '-')) {
    negative = field[i] == '-';
    ++i;
  }
  // Accumulate the magnitude in 64 bits and stop growing once past the 32-bit range.
  constexpr std::int64_t kLimit = std::int64_t{INT32_MAX} + 1;
  std::int64_t magnitude = 0;
  for (; i < length && field[i] >= '0' && field[i] <= '9'; ++i) {
    if (magnitude <= kLimit) magnitude = magnitude * 10 + (field[i] - '0');
  }
  if (negative) return magnitude >= kLimit ? INT32_MIN : static_cast<std::int32_t>(-magnitude);
  return magnitude > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(magnitude);
}

std::size_t ParseFields(const char* text, std::size_t length, std::int32_t* out, std::size_t maxFields) {
  std::size_t stored = 0;
  std::size_t i = 0;
  while (stored < maxFields) {
    while (i < length && text[i] != '\0' && IsSeparator(text[i])) ++i;
    if (i >= length || text[i] == '\0') break;
    const std::size_t start = i;
    while (i < length && text[i] != '\0' && !IsSeparator(text[i])) ++i;
    out[stored++] = ParseField(text + start, i - start);
  }
  return stored;
}

}  // namespace padtool
