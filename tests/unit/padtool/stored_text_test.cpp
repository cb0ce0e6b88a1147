#include "padtool/assignment/stored_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

namespace {

using padtool::PadAssignment;

std::string Codes(const PadAssignment& record) {
  char text[padtool::kCodesTextSize];
  std::size_t length = padtool::FormatCodes(record, text);
  EXPECT_EQ(length, std::strlen(text));
  return text;
}

std::vector<std::int32_t> Parse(const std::string& text, std::size_t maxFields = 40) {
  std::vector<std::int32_t> out(maxFields, 12345);
  out.resize(padtool::ParseFields(text.data(), text.size(), out.data(), maxFields));
  return out;
}

TEST(StoredText, CodesAreCommaSeparatedDecimalsWithoutBlanks) {
  PadAssignment record;
  record.codes = {4, 6, 11, 7, 10, 2, 0, 1, 3, 8, -1, -1, 9, 33, 33, 32, 32, 37, 37, 34, 34, 41, 41, 40, 40, 5, -1};
  EXPECT_EQ(Codes(record), "4,6,11,7,10,2,0,1,3,8,-1,-1,9,33,33,32,32,37,37,34,34,41,41,40,40,5,-1");
}

TEST(StoredText, NewRecordFormatsAs27TimesMinusOne) {
  std::string expected = "-1";
  for (int i = 1; i < 27; ++i) expected += ",-1";
  EXPECT_EQ(Codes(PadAssignment()), expected);
}

TEST(StoredText, FlagsAreFourFieldsInStorageOrder) {
  PadAssignment record;
  record.gamepadEnabled = 1;
  record.forceFeedbackEnabled = 0;
  record.sliderEnabled = 1;
  record.hatSwitchesEnabled = 1;
  char text[padtool::kFlagsTextSize];
  EXPECT_EQ(padtool::FormatFlags(record, text), 7u);
  EXPECT_STREQ(text, "1,0,1,1");
}

TEST(StoredText, ExtremeValuesFormatWholeAndReadBack) {
  PadAssignment record;
  record.codes.fill(INT32_MIN);
  record.codes[26] = INT32_MAX;
  const std::string text = Codes(record);
  EXPECT_EQ(text.size(), 26 * 11 + 10 + 26u);
  EXPECT_LT(text.size(), padtool::kCodesTextSize);
  std::vector<std::int32_t> back = Parse(text);
  ASSERT_EQ(back.size(), 27u);
  for (int i = 0; i < 26; ++i) EXPECT_EQ(back[i], INT32_MIN);
  EXPECT_EQ(back[26], INT32_MAX);
}

TEST(StoredText, FieldConvertsLikeDecimalAtoiAndSaturates) {
  struct Case {
    const char* field;
    std::int32_t value;
  };
  const Case cases[] = {{"12", 12},
                        {"-5", -5},
                        {"+7", 7},
                        {"0007", 7},
                        {"abc", 0},
                        {"5abc", 5},
                        {"\t9", 9},
                        {"\n-3", -3},
                        {"-", 0},
                        {"--3", 0},
                        {"3-4", 3},
                        {"2147483647", INT32_MAX},
                        {"2147483648", INT32_MAX},
                        {"99999999999999999999999", INT32_MAX},
                        {"-2147483648", INT32_MIN},
                        {"-2147483649", INT32_MIN},
                        {"-99999999999999999999999", INT32_MIN}};
  for (const Case& c : cases) {
    EXPECT_EQ(padtool::ParseField(c.field, std::strlen(c.field)), c.value) << '"' << c.field << '"';
  }
}

TEST(StoredText, FieldsSplitAtCommasAndBlanksSkippingEmptyOnes) {
  EXPECT_EQ(Parse("1,,2  3, ,4"), (std::vector<std::int32_t>{1, 2, 3, 4}));
  EXPECT_EQ(Parse(",, 5,6,"), (std::vector<std::int32_t>{5, 6}));
  EXPECT_EQ(Parse(""), std::vector<std::int32_t>{});
  EXPECT_EQ(Parse(" , ,"), std::vector<std::int32_t>{});
  EXPECT_EQ(Parse("x,1,y"), (std::vector<std::int32_t>{0, 1, 0}));
}

TEST(StoredText, ParsingStopsAtTheFieldLimitTheZeroByteAndTheLength) {
  EXPECT_EQ(Parse("1,0,1,1,9", 4), (std::vector<std::int32_t>{1, 0, 1, 1}));
  const char withZero[] = "1,2\0" "3,4";
  std::vector<std::int32_t> out(8);
  EXPECT_EQ(padtool::ParseFields(withZero, sizeof withZero - 1, out.data(), 8), 2u);
  const char unterminated[4] = {'7', ',', '8', '9'};
  EXPECT_EQ(padtool::ParseFields(unterminated, 3, out.data(), 8), 2u);
  EXPECT_EQ(out[1], 8) << "the byte after the length is not read";
}

}  // namespace
