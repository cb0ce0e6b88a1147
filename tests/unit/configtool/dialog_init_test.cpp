#include "configtool/pages/dialog_init.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using configtool::DialogInitItem;
using configtool::ParseDialogInit;

// One record as the resource compiler lays it out.
std::vector<std::uint8_t> Record(std::uint16_t id, std::uint16_t message, const std::string& bytes) {
  std::vector<std::uint8_t> r = {static_cast<std::uint8_t>(id), static_cast<std::uint8_t>(id >> 8),
                                 static_cast<std::uint8_t>(message), static_cast<std::uint8_t>(message >> 8)};
  auto length = static_cast<std::uint32_t>(bytes.size());
  for (int i = 0; i < 4; ++i) r.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
  r.insert(r.end(), bytes.begin(), bytes.end());
  return r;
}

std::vector<std::uint8_t> Join(std::initializer_list<std::vector<std::uint8_t>> parts) {
  std::vector<std::uint8_t> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

const std::vector<std::uint8_t> kEnd = {0, 0};

TEST(DialogInit, ReadsRecordsInOrderUpToTheEndMarker) {
  auto data = Join({Record(1010, 0x403, std::string("High\0", 5)), Record(1010, 0x403, std::string("Low\0", 4)),
                    Record(1015, 0x401, std::string("Uncompressed\0", 13)), kEnd, Record(9, 9, "after")});
  std::vector<DialogInitItem> items;
  ASSERT_TRUE(ParseDialogInit(data.data(), data.size(), &items));
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].controlId, 1010);
  EXPECT_EQ(items[0].message, 0x403);
  EXPECT_EQ(items[0].text, "High");
  EXPECT_EQ(items[1].text, "Low");
  EXPECT_EQ(items[2].controlId, 1015);
  EXPECT_EQ(items[2].message, 0x401);
  EXPECT_EQ(items[2].text, "Uncompressed");
}

TEST(DialogInit, TextWithoutTerminatorTakesTheWholeRecord) {
  auto data = Join({Record(1024, 0x403, "Smooth"), kEnd});
  std::vector<DialogInitItem> items;
  ASSERT_TRUE(ParseDialogInit(data.data(), data.size(), &items));
  EXPECT_EQ(items.at(0).text, "Smooth");
}

TEST(DialogInit, RecordRunningPastTheEndIsRefusedKeepingEarlierRecords) {
  auto data = Join({Record(1024, 0x403, std::string("Off\0", 4)), Record(1024, 0x403, std::string("Normal\0", 7))});
  data.resize(data.size() - 3);
  std::vector<DialogInitItem> items;
  EXPECT_FALSE(ParseDialogInit(data.data(), data.size(), &items));
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].text, "Off");
}

TEST(DialogInit, HugeLengthIsRefused) {
  std::vector<std::uint8_t> data = {0xF2, 0x03, 0x03, 0x04, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 0, 0};
  std::vector<DialogInitItem> items;
  EXPECT_FALSE(ParseDialogInit(data.data(), data.size(), &items));
  EXPECT_TRUE(items.empty());
}

TEST(DialogInit, MissingEndMarkerOrTruncatedHeaderIsRefused) {
  std::vector<DialogInitItem> items;
  auto complete = Record(1010, 0x403, std::string("High\0", 5));
  EXPECT_FALSE(ParseDialogInit(complete.data(), complete.size(), &items));
  std::vector<std::uint8_t> header = {0xF2, 0x03, 0x03};
  EXPECT_FALSE(ParseDialogInit(header.data(), header.size(), &items));
  EXPECT_FALSE(ParseDialogInit(nullptr, 0, &items));
  EXPECT_TRUE(ParseDialogInit(kEnd.data(), kEnd.size(), &items));
}

}  // namespace
