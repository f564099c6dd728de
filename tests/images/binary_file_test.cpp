#include <gtest/gtest.h>

#include <sys/stat.h>

#include <numeric>
#include <vector>

#include "tests/support/TempDir.h"
#include "images/BinaryFile.h"
#include "base/Errors.h"

namespace qx {
namespace {

std::vector<u8> Ramp(std::size_t n) {
  std::vector<u8> v(n);
  for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<u8>(i * 7 + 3);
  return v;
}

u32 Sum(std::span<const u8> b) { return std::accumulate(b.begin(), b.end(), 0u); }

TEST(LoadBinaryFileSum, ShortFileSetsLastIndexToFileEnd) {
  test::TempDir d;
  const auto data = Ramp(10);
  test::WriteFile(d.File("a.bin"), data);
  std::vector<u8> dest(0x10000, 0xFF);
  u32 last = 0xFFFF, sum = 123;
  const auto r = LoadBinaryFileSum(d.File("a.bin"), dest, last, sum);
  EXPECT_TRUE(r.Ok);
  EXPECT_EQ(last, 9u);
  EXPECT_EQ(r.LastLoadAddress, 9u);
  EXPECT_EQ(sum, Sum(data));
  EXPECT_TRUE(std::equal(data.begin(), data.end(), dest.begin()));
  EXPECT_EQ(dest[10], 0xFF);
}

TEST(LoadBinaryFileSum, LongFileStopsAtLastIndexAndAtDestinationEnd) {
  test::TempDir d;
  const auto data = Ramp(10000);
  test::WriteFile(d.File("a.bin"), data);
  std::vector<u8> dest(8192, 0);
  u32 last = 4999, sum = 0;
  auto r = LoadBinaryFileSum(d.File("a.bin"), dest, last, sum);
  EXPECT_TRUE(r.Ok);
  EXPECT_EQ(last, 4999u);
  EXPECT_EQ(r.Copied, 5000u);
  EXPECT_EQ(sum, Sum(std::span(data).first(5000)));
  EXPECT_EQ(dest[5000], 0);
  // A last index past the destination cannot make the copy leave it.
  last = 0xFFFFFFFF;
  r = LoadBinaryFileSum(d.File("a.bin"), std::span(dest).subspan(100), last, sum);
  EXPECT_TRUE(r.Ok);
  EXPECT_EQ(r.Copied, 8092u);
  EXPECT_EQ(last, 8091u);
  EXPECT_EQ(dest[8191], data[8091]);
}

TEST(LoadBinaryFile, CountRule) {
  test::TempDir d;
  const auto data = Ramp(5000);
  test::WriteFile(d.File("a.bin"), data);
  std::vector<u8> dest(0x4000, 0);
  u32 count = 4096;
  auto r = LoadBinaryFile(d.File("a.bin"), dest, count);
  EXPECT_TRUE(r.Ok);
  EXPECT_EQ(count, 4096u);
  EXPECT_EQ(r.LastLoadAddress, 4999u);
  EXPECT_EQ(r.Copied, 4096u);
  EXPECT_EQ(dest[4095], data[4095]);
  EXPECT_EQ(dest[4096], 0);
  count = 0x4000;
  r = LoadBinaryFile(d.File("a.bin"), dest, count);
  EXPECT_TRUE(r.Ok);
  EXPECT_EQ(count, 4999u);
  EXPECT_EQ(r.Copied, 5000u);
}

TEST(LoadBinaryFile, MissingEmptyOrUnreadableFileIsAFailure) {
  test::TempDir d;
  test::WriteFile(d.File("empty.bin"), {});
  // A FIFO is never opened: the open would wait for a writer that never comes.
  ASSERT_EQ(::mkfifo(d.File("fifo.bin").c_str(), 0600), 0);
  std::vector<u8> dest(16, 0xAA);
  for (const std::string& name : {d.File("missing.bin"), d.File("empty.bin"), d.Path().string(), d.File("fifo.bin")}) {
    u32 count = 16, last = 15, sum = 7;
    EXPECT_FALSE(LoadBinaryFile(name, dest, count).Ok) << name;
    EXPECT_EQ(count, 16u);
    const auto r = LoadBinaryFileSum(name, dest, last, sum);
    EXPECT_FALSE(r.Ok) << name;
    EXPECT_EQ(r.Copied, 0u);
    EXPECT_EQ(last, 15u);
    EXPECT_EQ(sum, 0u);
  }
  EXPECT_EQ(dest[0], 0xAA);
}

TEST(SaveBinaryFile, RangeClampedAndEmptyWhenReversed) {
  test::TempDir d;
  const auto data = Ramp(300);
  SaveBinaryFile(d.File("a.bin"), data, 10, 19);
  EXPECT_EQ(test::ReadFile(d.File("a.bin")), std::vector<u8>(data.begin() + 10, data.begin() + 20));
  SaveBinaryFile(d.File("a.bin"), data, 290, 0xFFFFFFFF);
  EXPECT_EQ(test::ReadFile(d.File("a.bin")), std::vector<u8>(data.begin() + 290, data.end()));
  SaveBinaryFile(d.File("a.bin"), data, 20, 19);
  EXPECT_TRUE(test::ReadFile(d.File("a.bin")).empty());
  EXPECT_THROW(SaveBinaryFile(d.File("no/such/dir.bin"), data, 0, 1), EInOutError);
}

}  // namespace
}  // namespace qx
