// The two stored texts of the assignment: "padsin000" (27 codes) and
// "padmode000" (4 flags), signed decimal, comma-separated, and their parsing.
#pragma once

#include <cstddef>
#include <cstdint>

#include "padtool/assignment/pad_assignment.h"

namespace padtool {

// "-2147483648" is the longest field: 11 characters.
constexpr std::size_t kLongestField = 11;
// Room for 27 fields of any 32-bit value, 26 commas and the terminator.
constexpr std::size_t kCodesTextSize = kCodeCount * kLongestField + (kCodeCount - 1) + 1;
// The flags text buffer (4 fields need at most 48 bytes).
constexpr std::size_t kFlagsTextSize = 128;
static_assert(kFlagsTextSize >= kFlagCount * kLongestField + (kFlagCount - 1) + 1, "flags text fits");

// Formats the 27 codes as "%d,%d,...,%d"; returns the length.
std::size_t FormatCodes(const PadAssignment& record, char (&text)[kCodesTextSize]);
// Formats the 4 flags as "%d,%d,%d,%d"; returns the length.
std::size_t FormatFlags(const PadAssignment& record, char (&text)[kFlagsTextSize]);

// Splits text (at most `length` bytes, ending early at a zero byte) into fields
// at commas and blanks, skipping empty fields, and converts each field like a
// decimal atoi: leading white space, an optional sign, digits up to the first
// non-digit; no digits give 0, values beyond 32 bits saturate. Stores at most
// `maxFields` values into `out` and returns how many were stored.
std::size_t ParseFields(const char* text, std::size_t length, std::int32_t* out, std::size_t maxFields);

// One field's value as described for ParseFields.
std::int32_t ParseField(const char* field, std::size_t length);

}  // namespace padtool
