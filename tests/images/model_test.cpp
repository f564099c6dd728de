#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "images/ChipModel.h"
#include "base/Errors.h"
#include "base/MessageLog.h"
#include "images/NumberText.h"
#include "tests/support/RecordingOperator.h"

namespace qx {
namespace {

TEST(ChipModel, StartUpValues) {
  auto m = std::make_unique<ChipModel>();
  EXPECT_EQ(m->MainFlashImage.front(), 0xFF);
  EXPECT_EQ(m->MainFlashImage.back(), 0xFF);
  EXPECT_EQ(m->EepImage[EepImageSize - 1], 0xFF);
  EXPECT_EQ(m->OptionImage[0], 0x00);
  EXPECT_EQ(m->InfoAreaImage[InfoImageSize - 1], 0x00);
  EXPECT_EQ(m->Params.ProtocolKind, 0x55);
  EXPECT_EQ(m->Params.DownloadSize, 0x20000u);
  EXPECT_EQ(m->Params.OptionStart, 0x1FFFF800u);
  EXPECT_EQ(m->Control.PowerOnTime, 10);
  EXPECT_EQ(m->Timing.ChipInStableTime, 17);
  EXPECT_EQ(m->Timing.PowerDownTime, 10);
  EXPECT_EQ(m->Sn.SnAddress, 0xFFFFFFu);
  EXPECT_EQ(m->Sn.SnLength, 4);
  EXPECT_EQ(m->ReadLength, 64);
  EXPECT_EQ(m->ProgrammerModel, "Nolbin200XX");
  EXPECT_EQ(m->ErasedValue(), 0xFF);
  m->Params.BlankIsZero = 1;
  EXPECT_EQ(m->ErasedValue(), 0x00);
}

TEST(AddressWindow, EndsBelongAndAbsentWindowTakesNothing) {
  const AddressWindow w{0x1000, 0x1FFF};
  EXPECT_TRUE(w.Contains(0x1000));
  EXPECT_TRUE(w.Contains(0x1FFF));
  EXPECT_FALSE(w.Contains(0x0FFF));
  EXPECT_FALSE(w.Contains(0x2000));
  const AddressWindow absent{NoWindow, NoWindow};
  EXPECT_FALSE(absent.Contains(0xFFFFFFFF));
  EXPECT_FALSE(absent.Contains(0));
  const AddressWindow top{0xFFFFFF00, NoWindow};
  EXPECT_TRUE(top.Contains(0xFFFFFFFF));
}

TEST(ClampRange, StaysInsideTheBuffer) {
  std::array<u8, 16> b{};
  EXPECT_EQ(ClampRange(std::span<u8>(b), 0, 15).size(), 16u);
  EXPECT_EQ(ClampRange(std::span<u8>(b), 4, 100).size(), 12u);
  EXPECT_EQ(ClampRange(std::span<u8>(b), 4, 0xFFFFFFFF).size(), 12u);
  EXPECT_TRUE(ClampRange(std::span<u8>(b), 16, 20).empty());
  EXPECT_TRUE(ClampRange(std::span<u8>(b), 5, 4).empty());
  FillBytes(b, 100, 7);
  EXPECT_EQ(b[15], 7);
  FillBytes(b, 0, 9);
  EXPECT_EQ(b[0], 7);
}

TEST(NumberText, AcceptedForms) {
  struct Case {
    const char* text;
    i32 value;
  } cases[] = {
      {"0", 0},           {"123", 123},        {"-5", -5},          {"+7", 7},
      {"$FF", 255},       {"0x1F", 31},        {"0X1f", 31},        {"$FFFFFFFF", -1},
      {"0x08000000", 0x08000000}, {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
      {"  12", 12},       {"xBEEF", 0xBEEF},   {"Xbeef", 0xBEEF},   {"-x10", -16},
      {"xFFFFFFFF", -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
  }
  EXPECT_EQ(StrToU32("$FFFFFFFF"), 0xFFFFFFFFu);
}

TEST(NumberText, RejectedFormsRaiseTheConversionError) {
  for (const char* text : {"", " ", "0x", "$", "12a", "1 2", "12 ", "0xG", "2147483648", "$100000000", "h10",
                           "-", "0b1", "x", "X", "xG", "x 1", "0xx1", "x$1", "$x1", "x100000000"}) {
    EXPECT_FALSE(TryStrToInt(text).has_value()) << text;
  }
  try {
    StrToInt("zz");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'zz' is not a valid integer value");
  }
}

TEST(NumberText, SixtyFourBitFormsForFieldsThatKeepTheLowBits) {
  struct Case {
    const char* text;
    std::int64_t value;
  } cases[] = {
      {"4294967296", 4294967296LL},          {"4294967295", 4294967295LL},
      {"$FFFFFFFFFFFFFFFF", -1},             {"0x100000000", 0x100000000LL},
      {"-9223372036854775808", INT64_MIN},   {"9223372036854775807", INT64_MAX},
      {" 0x0800FFF0", 0x0800FFF0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StrToInt64(c.text), c.value) << c.text;
  }
  for (const char* text : {"9223372036854775808", "$10000000000000000", "0x", "12a", ""}) {
    EXPECT_FALSE(TryStrToInt64(text).has_value()) << text;
  }
  EXPECT_THROW(StrToInt64("1 2"), EConvertError);
}

TEST(MessageLog, TimeStampedAndPlainLinesInOrder) {
  test::RecordingOperator view;
  MessageLog log([] { return std::string("12:34:56"); }, &view);
  const std::vector<std::string>& seen = view.logLines;
  log.AddInfoLine("");
  log.AddInfoLine("Hello");
  log.AddLine("plain");
  ASSERT_EQ(log.Lines().size(), 3u);
  EXPECT_EQ(log.Lines()[0], "> 12:34:56 ");
  EXPECT_EQ(log.Lines()[1], "> 12:34:56 Hello");
  EXPECT_EQ(log.Lines()[2], "plain");
  EXPECT_EQ(seen, log.Lines());
  log.Clear();
  EXPECT_TRUE(log.Lines().empty());
  EXPECT_EQ(view.logClears, 1);
}

TEST(MessageLog, RealClockIsHoursMinutesSeconds) {
  const std::string t = CurrentTimeOfDay();
  ASSERT_EQ(t.size(), 8u);
  EXPECT_EQ(t[2], ':');
  EXPECT_EQ(t[5], ':');
}

}  // namespace
}  // namespace qx
