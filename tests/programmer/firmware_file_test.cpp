// The programmer firmware file: loading, version, header words and the rejections.
#include <gtest/gtest.h>

#include "base/ByteOrder.h"
#include "programmer/FirmwareFile.h"
#include "tests/programmer/wire_support.h"
#include "tests/unitsim/SimFiles.h"

namespace qx::wiretest {
namespace {

class FirmwareLoad : public ::testing::Test {
 protected:
  FirmwareLoad() {
    spec.Image.resize(4096 + 17);
    for (std::size_t i = 0; i < spec.Image.size(); ++i) spec.Image[i] = static_cast<u8>(i * 31 + 5);
  }
  void LoadBytes(const Bytes& f) {
    ASSERT_TRUE(sim::WriteBytesFile(path(), f));
    LoadFirmwareFile(*fw, path());
  }
  std::string path() const { return dir.Dir() + "QX740VRD.FWR"; }
  TempDir dir;
  std::unique_ptr<FirmwareFile> fw = std::make_unique<FirmwareFile>();
  sim::FirmwareFileSpec spec;
};

TEST_F(FirmwareLoad, ValidFile) {
  spec.Version = "V2.5";
  spec.EndAddress = 0x2FFF;
  LoadBytes(sim::MakeFirmwareFile(spec));
  EXPECT_EQ(fw->FirmwareLoaded, 1);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(fw->FirmwareVersion.data()), 4), "V2.5");
  EXPECT_EQ(fw->FirmwareVersion[4], 0);
  EXPECT_EQ(fw->FirmwareEndAddress, 0x2FFF);
  EXPECT_EQ(fw->FirmwareByteCount, spec.Image.size());
  EXPECT_EQ(fw->FirmwareBaseAddress, 0x1000);
  // Also the groups whose key position lies past the 3290 key bytes.
  EXPECT_TRUE(std::equal(spec.Image.begin(), spec.Image.end(), fw->Image.begin()));
  EXPECT_EQ(FirmwareBlockCount(*fw), 8u);
}

TEST_F(FirmwareLoad, VersionWithoutVIsEmpty) {
  spec.Version = "2.5";
  LoadBytes(sim::MakeFirmwareFile(spec));
  EXPECT_EQ(fw->FirmwareLoaded, 1);
  EXPECT_EQ(fw->FirmwareVersion, (std::array<u8, 8>{}));
}

TEST_F(FirmwareLoad, ByteCount17ReadsTwoRows) {
  spec.Image.resize(17);
  const Bytes f = sim::MakeFirmwareFile(spec);
  EXPECT_EQ(f.size(), FirmwareFileSize(17));
  EXPECT_EQ(f.size(), 3315u + 32u + 876u + 4u);
  LoadBytes(f);
  EXPECT_EQ(fw->FirmwareLoaded, 1);
  EXPECT_TRUE(std::equal(spec.Image.begin(), spec.Image.end(), fw->Image.begin()));
}

TEST_F(FirmwareLoad, Rejections) {
  struct Case {
    const char* name;
    std::function<void(Bytes&)> change;
  };
  const auto setWord = [](Bytes& f, std::size_t at, u16 v) {
    PutLe16(f, at, static_cast<u16>(v ^ GetLe16(f, 15)));
  };
  const std::vector<Case> cases = {
      {"magic", [](Bytes& f) { f[0] ^= 1; }},
      {"sum", [](Bytes& f) { f[4000] ^= 1; }},
      {"truncated", [](Bytes& f) { f.resize(f.size() - 1); }},
      {"header only", [](Bytes& f) { f.resize(30); }},
      {"empty", [](Bytes& f) { f.clear(); }},
      {"byte count past the image", [&](Bytes& f) { setWord(f, 23, static_cast<u16>(FirmwareMaxByteCount + 1)); }},
      {"byte count past the file", [&](Bytes& f) { setWord(f, 23, 0xFFFF); }},
      {"end address below base", [&](Bytes& f) { setWord(f, 17, 0x0FFF); }},
  };
  for (const auto& c : cases) {
    Bytes f = sim::MakeFirmwareFile(spec);
    c.change(f);
    LoadBytes(f);
    EXPECT_EQ(fw->FirmwareLoaded, 0) << c.name;
    EXPECT_EQ(fw->FirmwareVersion, (std::array<u8, 8>{})) << c.name;
  }
}

TEST_F(FirmwareLoad, LargestBodyThatFits) {
  spec.Image.resize(FirmwareMaxByteCount);
  spec.EndAddress = 0xEFFF;
  LoadBytes(sim::MakeFirmwareFile(spec));
  EXPECT_EQ(fw->FirmwareLoaded, 1);
  EXPECT_TRUE(std::equal(spec.Image.begin(), spec.Image.end(), fw->Image.begin()));
}

TEST(FirmwareBlocks, CountFromEndAddress) {
  FirmwareFile fw;
  for (const auto& [end, blocks] : std::vector<std::pair<u16, u16>>{{0x1000, 1}, {0x13FF, 1}, {0x1400, 2}, {0x0FFF, 0}}) {
    fw.FirmwareEndAddress = end;
    EXPECT_EQ(FirmwareBlockCount(fw), blocks) << end;
  }
}

}  // namespace
}  // namespace qx::wiretest
