#include <gtest/gtest.h>

#include <limits>

#include "texts/Format.h"

namespace qx {
namespace {

struct FormatCase {
  const char* fmt;
  std::string expected;
  std::string got;
};

TEST(Format, DirectivesOfTheTexts) {
  const FormatCase cases[] = {
      {"0x%0.8x", "0x0800ABCD", Format("0x%0.8x", {0x0800ABCDu})},
      {"0x%0.4x", "0x00FF", Format("0x%0.4x", {0xFFu})},
      {"%0.2x", "0A", Format("%0.2x", {10})},
      {"%x", "DEADBEEF", Format("%x", {0xDEADBEEFu})},
      {"%x of -1", "FFFFFFFF", Format("%x", {-1})},
      {"%x of u8", "FF", Format("%x", {std::uint8_t{0xFF}})},
      {"%0.8x wider", "123456789", Format("%0.8x", {0x123456789ull})},
      {"%d", "-42", Format("%d", {-42})},
      {"%d min", "-2147483648", Format("%d", {std::numeric_limits<int>::min()})},
      {"%5d", "   42", Format("%5d", {42})},
      {"%-5d|", "42   |", Format("%-5d|", {42})},
      {"%05d", "-0042", Format("%05d", {-42})},
      {"%.3d", "007", Format("%.3d", {7})},
      {"%s", "C1", Format("%s", {"C1"})},
      {"%.2s", "ab", Format("%.2s", {"abcdef"})},
      {"%f", "1.50", Format("%f", {1.5})},
      {"%.1f", "2.3", Format("%.1f", {2.26})},
      {"%% and %c", "% and A", Format("%% and %c", {65})},
      {"missing arg", "a  b", Format("a %d b", {})},
      {"not a directive", "100%", Format("100%", {})},
      {"bad type", "%q", Format("%q", {1})},
      {"%s of a number", "12", Format("%s", {12})},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.got, c.expected) << c.fmt;
  }
}

TEST(Format, SignatureListsDirectivesInOrder) {
  EXPECT_EQ(FormatSignature("C%d : 0x%0.8x %s %%"), "%d %0.8x %s ");
  EXPECT_NE(FormatSignature("%s %d"), FormatSignature("%d %s"));
}

}  // namespace
}  // namespace qx
