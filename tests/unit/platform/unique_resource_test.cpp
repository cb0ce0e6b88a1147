#include "platform/unique_resource.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> closed;

struct FakeTraits {
  using Handle = int;
  static Handle Empty() { return -1; }
  static bool IsEmpty(Handle h) { return h == -1 || h == 0; }
  static void Close(Handle h) { closed.push_back(h); }
};

using Resource = platform::unique_resource<FakeTraits>;

class UniqueResource : public ::testing::Test {
 protected:
  void SetUp() override { closed.clear(); }
};

TEST_F(UniqueResource, ClosesOnceWhenDestroyed) {
  { Resource r(7); EXPECT_TRUE(r); }
  EXPECT_EQ(closed, std::vector<int>{7});
}

TEST_F(UniqueResource, EmptyValuesAreNeverClosed) {
  { Resource a; Resource b(0); EXPECT_FALSE(a); EXPECT_FALSE(b); }
  EXPECT_TRUE(closed.empty());
}

TEST_F(UniqueResource, MoveTransfersOwnership) {
  Resource a(3);
  Resource b(std::move(a));
  EXPECT_FALSE(a);
  EXPECT_EQ(b.get(), 3);
  Resource c(4);
  c = std::move(b);
  EXPECT_EQ(closed, std::vector<int>{4});
  EXPECT_EQ(c.get(), 3);
}

TEST_F(UniqueResource, ResetClosesTheOldHandle) {
  Resource r(5);
  r.reset(6);
  EXPECT_EQ(closed, std::vector<int>{5});
  EXPECT_EQ(r.release(), 6);
  EXPECT_FALSE(r);
  EXPECT_EQ(closed, std::vector<int>{5});
}

}  // namespace
