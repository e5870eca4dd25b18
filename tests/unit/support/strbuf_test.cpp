// Capacity and content rules of the growable strings.
#include "support/strbuf.h"

#include <gtest/gtest.h>
#include <string.h>

namespace {

// The figures the module's lists and texts must reproduce: what each way of filling a string
// leaves as its length (NUL counted) and capacity. Growth doubles what is needed, never less.
struct Growth {
  const char* what;
  void (*fill)(StrBuf&);
  const char* text;  // null: not text yet
  uint32_t length;
  uint32_t capacity;
};

const Growth kGrowth[] = {
    {"assign", [](StrBuf& s) { s.Assign("abc"); }, "abc", 4, 8},
    {"assign the empty text", [](StrBuf& s) { s.Assign(""); }, "", 1, 2},
    {"shorter assign keeps the room",
     [](StrBuf& s) {
       s.Assign("abc");
       s.Assign("xy");
     },
     "xy", 3, 8},
    {"longer assign doubles",
     [](StrBuf& s) {
       s.Assign("abc");
       s.Assign("12345678");
     },
     "12345678", 9, 18},
    {"absent text changes nothing",
     [](StrBuf& s) {
       s.Assign("abc");
       s.Assign(nullptr);
     },
     "abc", 4, 8},
    {"assign from its own text",
     [](StrBuf& s) {
       s.Assign("abcdef");
       s.Assign(s.data + 2);
     },
     "cdef", 5, 14},
    {"append within the room",
     [](StrBuf& s) {
       s.Assign("abc");
       s.Append("def", 3);
     },
     "abcdef", 7, 8},
    {"append past the room; empty and absent appends add nothing",
     [](StrBuf& s) {
       s.Assign("abc");
       s.Append("defgh", 5);
       s.Append("zzz", 0);
       s.Append(nullptr, 4);
     },
     "abcdefgh", 9, 18},
    {"append of its own bytes",
     [](StrBuf& s) {
       s.Assign("abc");
       s.Append(s.data, 3);
       s.Append(s.data, 6);
     },
     "abcabcabcabc", 13, 26},
    {"reserve takes exactly what is asked, and says it succeeded",
     [](StrBuf& s) { EXPECT_EQ(1, s.Reserve(5)); }, nullptr, 0, 5},
    {"reserve below the capacity keeps it, and succeeds too",
     [](StrBuf& s) {
       s.Assign("abc");
       EXPECT_EQ(1, s.Reserve(3));
     },
     "abc", 4, 8},
    {"reserve above it",
     [](StrBuf& s) {
       s.Assign("abc");
       s.Reserve(9);
     },
     "abc", 4, 9},
    {"a slot past a full buffer",
     [](StrBuf& s) {
       s.Reserve(5);
       memcpy(s.data, "abcd", 5);
       s.length = 5;
       s.AppendSlot();
     },
     nullptr, 6, 12},
    {"grow to what it holds",
     [](StrBuf& s) {
       s.Reserve(3);
       s.GrowTo(3);
     },
     nullptr, 0, 3},
    {"grow past it",
     [](StrBuf& s) {
       s.Reserve(3);
       s.GrowTo(4);
     },
     nullptr, 0, 8},
};

TEST(StrBuf, GrowthFigures) {
  StrBuf empty(kEmptyText);
  EXPECT_STREQ("", empty.data);
  EXPECT_EQ(2u, empty.capacity);
  for (const Growth& row : kGrowth) {
    SCOPED_TRACE(row.what);
    StrBuf s;
    row.fill(s);
    ASSERT_NE(nullptr, s.data);
    EXPECT_EQ(row.length, s.length);
    EXPECT_EQ(row.capacity, s.capacity);
    if (row.text) {
      EXPECT_STREQ(row.text, s.data);
      EXPECT_EQ(0, s.data[s.length - 1]);
    }
  }
}

TEST(StrBuf, AssignOfAbsentTextReturnsTheStringUnchanged) {
  StrBuf s;
  EXPECT_EQ(&s, &s.Assign(nullptr));
  EXPECT_EQ(nullptr, s.data);
}

TEST(StrBuf, ReleaseTwiceOnlyZeroes) {
  StrBuf s;
  s.Assign("abc");
  s.Release();
  s.Release();
  EXPECT_TRUE(s.data == nullptr && s.length == 0 && s.capacity == 0);
}

TEST(WStrBuf, AssignCountsUnits) {
  const WCHAR text[] = {'a', 0x3042, 'c', 0};
  WStrBuf w;
  w.Assign(text);
  EXPECT_EQ(4u, w.length);
  EXPECT_EQ(8u, w.capacity);
  EXPECT_EQ(0x3042, w.data[1]);
  EXPECT_EQ(0, w.data[3]);
  EXPECT_EQ(&w, &w.Assign(nullptr));
  EXPECT_EQ(4u, w.length);
}

}  // namespace
