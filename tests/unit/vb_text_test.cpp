#include <gtest/gtest.h>

#include "base/vb_text.h"

TEST(VbText, PositionsCountFromOne) {
  EXPECT_EQ(vb::instr("abcabc", "c"), 3);
  EXPECT_EQ(vb::instr(4, "abcabc", "c"), 6);
  EXPECT_EQ(vb::instr("abc", "x"), 0);
  EXPECT_EQ(vb::instr(9, "abc", "a"), 0);
  EXPECT_EQ(vb::instr("ABC", "b", Qt::CaseInsensitive), 2);
  EXPECT_EQ(vb::instrRev("a>b>c", ">"), 4);
  EXPECT_EQ(vb::instrRev("a>b>c", ">", 3), 2);
  EXPECT_EQ(vb::mid("abcdef", 2, 3), "bcd");
  EXPECT_EQ(vb::mid("abc", 5), "");
  EXPECT_EQ(vb::mid("abc", 0, 2), "");
  EXPECT_EQ(vb::left("abc", -1), "");
  EXPECT_EQ(vb::right("abc", 2), "bc");
}

TEST(VbText, TrimRemovesSpacesOnly) {
  EXPECT_EQ(vb::trim("  a b  "), "a b");
  EXPECT_EQ(vb::trim("\ta\t"), "\ta\t");
  EXPECT_EQ(vb::trim("   "), "");
}

TEST(VbText, ValReadsTheLeadingNumber) {
  EXPECT_EQ(vb::val("12abc"), 12);
  EXPECT_EQ(vb::val(" 1 2 3x"), 123);
  EXPECT_EQ(vb::val("-4.5e1z"), -45);
  EXPECT_EQ(vb::val("abc"), 0);
  EXPECT_EQ(vb::val("CCTV-1"), 0);
  EXPECT_EQ(vb::val("1e"), 1);
  EXPECT_EQ(vb::val("-"), 0);
  EXPECT_EQ(vb::val("99999e999999"), 0);
}

TEST(VbText, RoundsHalvesToEven) {
  EXPECT_EQ(vb::roundHalfEven(0.5), 0);
  EXPECT_EQ(vb::roundHalfEven(1.5), 2);
  EXPECT_EQ(vb::roundHalfEven(2.5), 2);
  EXPECT_EQ(vb::roundHalfEven(-2.5), -2);
  EXPECT_EQ(vb::roundHalfEven(2.6), 3);
}

TEST(VbText, ToNumberRejectsText) {
  EXPECT_EQ(vb::toNumber(" 12 "), 12.0);
  EXPECT_EQ(vb::toNumber("10."), 10.0);
  EXPECT_FALSE(vb::toNumber("abc"));
  EXPECT_FALSE(vb::toNumber(""));
}
