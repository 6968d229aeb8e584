#include "protocol/TInputBuffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {
// Capacity after each growth step of the buffer's rule.
uint32_t NextCapacity(uint32_t capacity) {
  return static_cast<uint32_t>(uint64_t{capacity} * 11 / 10 + 1);
}
}  // namespace

TEST(TInputBuffer, GrowsByTheTenPercentRuleOnly) {
  TInputBuffer buffer;
  EXPECT_EQ(buffer.Capacity(), 0u);
  EXPECT_EQ(buffer.Data(), nullptr);
  std::vector<uint32_t> capacities;
  for (int i = 0; i < 20; ++i) {
    buffer.Add(static_cast<uint8_t>(i));
    if (capacities.empty() || capacities.back() != buffer.Capacity()) {
      capacities.push_back(buffer.Capacity());
    }
  }
  EXPECT_EQ(capacities, (std::vector<uint32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 14, 16, 18, 20}));
  buffer.Add(20);
  EXPECT_EQ(buffer.Capacity(), 23u);

  // 1000 appends to a new buffer: the capacity only ever changes when the buffer is full, and
  // then exactly along the rule.
  TInputBuffer big;
  int reallocations = 0, expected = 0;
  for (uint32_t c = 0; c < 1000; c = NextCapacity(c)) ++expected;
  for (int i = 0; i < 1000; ++i) {
    const uint32_t before = big.Capacity();
    const uint32_t length = big.RawLength();
    big.Add(static_cast<uint8_t>(i));
    if (big.Capacity() != before) {
      ++reallocations;
      EXPECT_EQ(length, before);
      EXPECT_EQ(big.Capacity(), NextCapacity(before));
    }
  }
  EXPECT_EQ(reallocations, expected);
  for (uint32_t i = 0; i < 1000; ++i) ASSERT_EQ(big.GetAt(i), static_cast<uint8_t>(i));

  // Clear keeps the storage: filling it again to the same size allocates nothing.
  const uint32_t capacity = big.Capacity();
  const uint8_t* storage = big.Data();
  big.Clear();
  EXPECT_TRUE(big.IsEmpty());
  EXPECT_FALSE(big.Terminated());
  EXPECT_EQ(big.Capacity(), capacity);
  for (int i = 0; i < 1000; ++i) big.Add(1);
  EXPECT_EQ(big.Capacity(), capacity);
  EXPECT_EQ(big.Data(), storage);

  // Reserve allocates exactly one more than asked, only when that is more than there is.
  TInputBuffer reserved;
  reserved.AddText("abc");
  reserved.Reserve(100);
  EXPECT_EQ(reserved.Capacity(), 101u);
  EXPECT_TRUE(reserved.EqualsText("abc"));
  reserved.Reserve(100);
  reserved.Reserve(5);
  EXPECT_EQ(reserved.Capacity(), 101u);
}

TEST(TInputBuffer, TerminatorIsNotContent) {
  TInputBuffer buffer;
  EXPECT_TRUE(buffer.IsEmpty());
  EXPECT_STREQ(buffer.CStr(), "");
  EXPECT_EQ(buffer.Length(), 0u);
  EXPECT_EQ(buffer.RawLength(), 1u);
  EXPECT_FALSE(buffer.IsEmpty());
  EXPECT_TRUE(buffer.EqualsData(nullptr, 0));
  EXPECT_TRUE(buffer.EqualsText(""));

  buffer.Add('x');  // overwrites the terminator
  EXPECT_EQ(buffer.Length(), 1u);
  EXPECT_EQ(buffer.RawLength(), 1u);
  EXPECT_FALSE(buffer.Terminated());
  EXPECT_TRUE(buffer.EqualsText("x"));

  buffer.AddText("yz");
  buffer.CStr();
  buffer.CStr();  // only one terminator
  EXPECT_EQ(buffer.RawLength(), 4u);
  EXPECT_STREQ(buffer.CStr(), "xyz");
  EXPECT_EQ(buffer.GetAt(3), 0);    // the terminator
  EXPECT_EQ(buffer.GetAt(100), 0);  // beyond the stored bytes
  buffer.SetAt(3, 'Q');             // the terminator cannot be overwritten
  EXPECT_EQ(buffer.GetAt(3), 0);
  buffer.SetAt(1, 'Y');
  EXPECT_TRUE(buffer.EqualsText("xYz"));
  EXPECT_FALSE(buffer.EqualsText("xYz\x01"));
  EXPECT_FALSE(buffer.EqualsText("xY"));

  // DeleteFront keeps the terminator unless it goes with the removed bytes.
  buffer.DeleteFront(0);
  EXPECT_EQ(buffer.RawLength(), 4u);
  buffer.DeleteFront(1);
  EXPECT_TRUE(buffer.Terminated());
  EXPECT_STREQ(buffer.CStr(), "Yz");
  EXPECT_EQ(buffer.RawLength(), 3u);
  buffer.DeleteFront(10);
  EXPECT_TRUE(buffer.IsEmpty());
  EXPECT_FALSE(buffer.Terminated());

  // HasPrefix terminates the buffer first.
  TInputBuffer reply;
  reply.AddText("OK 1.8");
  EXPECT_TRUE(reply.HasPrefix(""));
  EXPECT_TRUE(reply.Terminated());
  EXPECT_EQ(reply.Length(), 6u);
  EXPECT_TRUE(reply.HasPrefix("OK "));
  EXPECT_TRUE(reply.HasPrefix("OK 1.8"));
  EXPECT_FALSE(reply.HasPrefix("OK 1.8!"));
  EXPECT_FALSE(reply.HasPrefix("ok"));
}

TEST(TInputBuffer, RawBytesAndComparisons) {
  const uint8_t data[] = {0x01, 0x00, 0xFF, 0x00};
  TInputBuffer a;
  a.AddData(data, 4);
  a.AddData(data, 0);
  a.AddData(data, -3);
  EXPECT_EQ(a.Length(), 4u);
  EXPECT_TRUE(a.EqualsData(data, 4));
  EXPECT_FALSE(a.EqualsData(data, 3));
  EXPECT_FALSE(a.EqualsData(data, -1));
  const uint8_t other[] = {0x01, 0x00, 0xFE, 0x00};
  EXPECT_FALSE(a.EqualsData(other, 4));

  TInputBuffer b;
  b.AddData(data, 4);
  b.CStr();  // a terminator does not make the content differ
  EXPECT_TRUE(a.EqualsBuffer(b));
  EXPECT_TRUE(b.EqualsBuffer(a));
  b.Add(0x00);
  EXPECT_FALSE(a.EqualsBuffer(b));

  TInputBuffer empty;
  EXPECT_TRUE(empty.EqualsData(data, 0));
  EXPECT_TRUE(empty.EqualsBuffer(TInputBuffer()));
  EXPECT_FALSE(empty.EqualsText("a"));
}

TEST(TInputBuffer, AssignKeepsOrTakesOverCapacity) {
  TInputBuffer large;
  for (int i = 0; i < 30; ++i) large.Add('a' + i % 26);
  large.CStr();
  const uint32_t largeCapacity = large.Capacity();

  TInputBuffer small;
  small.AddText("hi");
  const uint32_t smallCapacity = small.Capacity();
  ASSERT_LT(smallCapacity, large.RawLength());
  small.Assign(large);  // too small: takes over the other's capacity
  EXPECT_EQ(small.Capacity(), largeCapacity);
  EXPECT_TRUE(small.Terminated());
  EXPECT_EQ(small.RawLength(), large.RawLength());
  EXPECT_TRUE(small.EqualsBuffer(large));
  EXPECT_NE(small.Data(), large.Data());

  TInputBuffer tiny;
  tiny.AddText("xy");
  large.Assign(tiny);  // big enough: keeps its own capacity
  EXPECT_EQ(large.Capacity(), largeCapacity);
  EXPECT_FALSE(large.Terminated());
  EXPECT_TRUE(large.EqualsText("xy"));

  large.Assign(TInputBuffer());
  EXPECT_TRUE(large.IsEmpty());
  EXPECT_EQ(large.Capacity(), largeCapacity);

  TInputBuffer copy(tiny);
  copy.SetAt(0, 'Z');
  EXPECT_TRUE(tiny.EqualsText("xy"));
  EXPECT_TRUE(copy.EqualsText("Zy"));
  // Self-assignment keeps the content (through a second name, which compilers do not flag).
  const TInputBuffer& same = copy;
  copy = same;
  EXPECT_TRUE(copy.EqualsText("Zy"));
}
