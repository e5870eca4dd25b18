// Capacity and content rules of the growable strings.
#include "support/strbuf.h"

#include <gtest/gtest.h>
#include <string.h>

namespace {

void ExpectState(const StrBuf& s, const char* text, uint32_t length, uint32_t capacity) {
  ASSERT_NE(nullptr, s.data);
  EXPECT_STREQ(text, s.data);
  EXPECT_EQ(length, s.length);
  EXPECT_EQ(capacity, s.capacity);
  EXPECT_EQ(0, s.data[s.length - 1]);
}

TEST(StrBuf, ConstructUnsetAndEmpty) {
  StrBuf unset;
  EXPECT_EQ(nullptr, unset.data);
  EXPECT_EQ(0u, unset.length);
  EXPECT_EQ(0u, unset.capacity);
  StrBuf empty(kEmptyText);
  ExpectState(empty, "", 1, 2);
}

TEST(StrBuf, AssignDoublesOnlyWhenTooSmall) {
  StrBuf s;
  s.Assign("abc");
  ExpectState(s, "abc", 4, 8);
  s.Assign("xy");
  ExpectState(s, "xy", 3, 8);
  s.Assign("12345678");
  ExpectState(s, "12345678", 9, 18);
  StrBuf e;
  e.Assign("");
  ExpectState(e, "", 1, 2);
}

TEST(StrBuf, AssignAbsentTextChangesNothing) {
  StrBuf s;
  EXPECT_EQ(&s, &s.Assign(nullptr));
  EXPECT_EQ(nullptr, s.data);
  s.Assign("abc");
  EXPECT_EQ(&s, &s.Assign(nullptr));
  ExpectState(s, "abc", 4, 8);
}

TEST(StrBuf, AssignFromOwnTextSurvivesGrowth) {
  StrBuf s;
  s.Assign("abcdef");
  s.Assign(s.data + 2);
  ExpectState(s, "cdef", 5, 14);
}

TEST(StrBuf, AppendGrowsThroughReserveWithDoubleTheRoom) {
  StrBuf s;
  s.Assign("abc");
  s.Append("def", 3);
  ExpectState(s, "abcdef", 7, 8);
  StrBuf t;
  t.Assign("abc");
  t.Append("defgh", 5);
  ExpectState(t, "abcdefgh", 9, 18);
  t.Append("zzz", 0);
  ExpectState(t, "abcdefgh", 9, 18);
  t.Append(nullptr, 4);
  ExpectState(t, "abcdefgh", 9, 18);
}

TEST(StrBuf, AppendOfOwnBytesSurvivesReallocation) {
  StrBuf s;
  s.Assign("abc");
  s.Append(s.data, 3);
  s.Append(s.data, 6);
  ExpectState(s, "abcabcabcabc", 13, 26);
}

TEST(StrBuf, ReserveTakesExactlyWhatIsAsked) {
  StrBuf s;
  EXPECT_EQ(1, s.Reserve(5));
  EXPECT_EQ(5u, s.capacity);
  EXPECT_EQ(0u, s.length);
  StrBuf t;
  t.Assign("abc");
  t.Reserve(3);
  ExpectState(t, "abc", 4, 8);
  t.Reserve(9);
  ExpectState(t, "abc", 4, 9);
}

TEST(StrBuf, AppendSlotAndGrowTo) {
  StrBuf s;
  s.Reserve(5);
  memcpy(s.data, "abcd", 5);
  s.length = 5;
  char* slot = s.AppendSlot();
  EXPECT_EQ(s.data + 5, slot);
  EXPECT_EQ(6u, s.length);
  EXPECT_EQ(12u, s.capacity);

  StrBuf g;
  g.Reserve(3);
  g.GrowTo(3);
  EXPECT_EQ(3u, g.capacity);
  g.GrowTo(4);
  EXPECT_EQ(8u, g.capacity);
  EXPECT_EQ(0u, g.length);
}

TEST(StrBuf, ReleaseTwiceOnlyZeroes) {
  StrBuf s;
  s.Assign("abc");
  s.Release();
  EXPECT_EQ(nullptr, s.data);
  EXPECT_EQ(0u, s.capacity);
  s.Release();
  EXPECT_EQ(nullptr, s.data);
  EXPECT_EQ(0u, s.length);
}

TEST(WStrBuf, AssignCountsUnits) {
  const WCHAR text[] = {'a', 0x3042, 'c', 0};
  WStrBuf w;
  w.Assign(text);
  EXPECT_EQ(4u, w.length);
  EXPECT_EQ(8u, w.capacity);
  EXPECT_EQ(0x3042, w.data[1]);
  EXPECT_EQ(0, w.data[3]);
  WStrBuf empty(kEmptyText);
  EXPECT_EQ(1u, empty.length);
  EXPECT_EQ(2u, empty.capacity);
  EXPECT_EQ(&empty, &empty.Assign(nullptr));
  EXPECT_EQ(1u, empty.length);
}

}  // namespace
