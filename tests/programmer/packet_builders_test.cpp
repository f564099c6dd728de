// Exact bytes of the request builders, against a recording port and a counting random source.
#include <gtest/gtest.h>

#include "base/ByteOrder.h"
#include "images/Checksums.h"
#include "programmer/ChipInfoHeader.h"
#include "programmer/CommandCodes.h"
#include "programmer/DownloadSize.h"
#include "programmer/FirmwareCommands.h"
#include "programmer/SettingsBlock.h"
#include "tests/programmer/wire_support.h"
#include "tests/unitsim/SimFiles.h"

namespace qx::wiretest {
namespace {

u16 Check(std::span<const u8> bytes) { return CalcCheck16(bytes); }

TEST(PacketFixed, ProbeAndRestartAreTheSameForEveryUnit) {
  World w;
  for (u8 k : {u8{0}, u8{9}}) {
    SendDeviceProbe(w.Target(k));
    EXPECT_EQ(w.Port.frames.back(), (Bytes{0xC0, 0xA3, 0xA5, 0x35, 0xC0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(SendRestartCmd(w.Target(k)), 12u);
    Bytes expected = {0x8A, 0x52, 0x45, 0x53, 0x54, 0xA8, 0x02, 0x00, 0x00, 0x00, 0, 0};
    PutLe16(expected, 10, Check(std::span<const u8>(expected).first(10)));
    EXPECT_EQ(w.Port.LastPacket(), expected);
  }
}

TEST(PacketFixed, FirmwareEnd) {
  World w;
  SendFirmwareEndCmd(w.Target());
  Bytes expected = {0xBD, 0x00, 'R', 'S', 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0, 0};
  PutLe16(expected, 10, Check(std::span<const u8>(expected).first(10)));
  EXPECT_EQ(w.Port.LastPacket(), expected);
}

TEST(PacketHeader, FieldsInPlace) {
  auto m = std::make_unique<ChipModel>();
  m->Params.OptionCode = 0x01;
  m->DeviceAddress = 0x02;
  m->Params.ProtocolKind = 0x03;
  m->Params.FamilyCode = 0x04;
  m->Params.Subtype = 0x05;
  m->Timing.AutoStartCode = 0x07;
  m->FamilyParam1 = 0x08;
  m->FamilyParam2 = 0x09;
  m->Params.DownloadSize = 0x11121314;
  m->Params.EepSize = 0x21222324;
  m->Params.MainFlashStart = 0x31323334;
  m->Params.EepStart = 0x41424344;
  m->Control = {0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28};
  m->Timing.PowerDownTime = 0x29;
  m->Timing.ChipInStableTime = 0x2A;
  m->Timing.ChipOutStableTime = 0x2B;
  m->Params.MainPageSize = 0x2D2C;
  m->Params.EepPageSize = 0x2F2E;
  m->Sums.MainCheck16 = 0x3130;
  m->Sums.MainSum16 = 0x3332;
  m->Sums.EepCheck16 = 0x3534;
  m->Sums.EepSum16 = 0x3736;
  m->Sums.OptionCheck16 = 0x3938;
  m->Sums.OptionSum16 = 0x3B3A;
  m->ProtectBits = 0x40;
  m->ChipExtraByte = 0x41;
  m->ExtraParamWord = 0x4342;
  m->Timing.RunShutTime = 0x4544;
  CountingRandom r;
  std::array<u8, ChipInfoHeaderSize> h{};
  h.fill(0xEE);
  r.Next(1);  // the next value handed out is 1
  FillChipInfoHeader(*m, r, 0xABCD, h);
  Bytes expected(80, 0);
  const Bytes head = {0, 1, 2, 3, 4, 5, 1, 7, 8, 9, 0xCD, 0xAB};
  std::copy(head.begin(), head.end(), expected.begin());
  PutLe32(expected, 16, 0x11121314);
  PutLe32(expected, 20, 0x21222324);
  PutLe32(expected, 24, 0x31323334);
  PutLe32(expected, 28, 0x41424344);
  for (u8 i = 0; i < 12; ++i) expected[32 + i] = static_cast<u8>(0x20 + i);
  for (u8 i = 0; i < 16; ++i) expected[44 + i] = static_cast<u8>(0x2C + i);
  for (u8 i = 0; i < 6; ++i) expected[64 + i] = static_cast<u8>(0x40 + i);
  EXPECT_EQ(Bytes(h.begin(), h.end()), expected);
  EXPECT_EQ(r.ranges.back(), 255u);  // byte 6 is drawn below 255
}

struct NameCase {
  std::string name;
  std::size_t field;
  Bytes expected;
};

TEST(PacketSettings, NameFields) {
  const std::vector<NameCase> cases = {
      {"", 16, Cat({{'?'}, Bytes(15, 0)})},
      {"ABCDEFGHIJKLMNOP", 16, Bytes{'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N', 'O', 'P'}},
      {"ABCDEFGHIJKLMNOPQRS", 16, Bytes{'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N', 'O', 'P'}},
      {"firmware_20chars.hex", 48, Cat({Bytes{'f', 'i', 'r', 'm', 'w', 'a', 'r', 'e', '_', '2', '0', 'c', 'h', 'a', 'r', 's',
                                             '.', 'h', 'e', 'x'},
                                       Bytes(28, 0)})},
  };
  for (const auto& c : cases) {
    Bytes field(c.field, 0xEE);
    PutNameField(c.name, field);
    EXPECT_EQ(field, c.expected) << c.name;
  }
}

TEST(PacketSettings, SerialNumbersOfFourUnitsAndBlockChecks) {
  World w;
  w.Model->Sn.SnValue = 1000;
  w.Model->Sn.SnGain = 2;
  w.Model->ChipName = "SA32B1xx";
  w.Model->ObjectFileName = "/some/dir/app.hex";
  for (u8 k = 0; k < 4; ++k) {
    // Stale bytes, as a reused packet slot holds them: a sum or check that reaches one
    // byte too far picks them up.
    std::array<u8, SettingsBlockSize> b;
    for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<u8>(0xA5 ^ (i * 29));
    BuildSettingsBlock(*w.Model, w.Random, k, 4, b);
    EXPECT_EQ(GetLe32(b, SbSnValueAt), 1000u + 2u * k);
    EXPECT_EQ(GetLe16(b, SbSnStepAt), 8u);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 4), (Bytes{'Z', 'W', 'L', 'P'}));
    EXPECT_EQ(GetLe16(b, SbCheckAt), Check(std::span<const u8>(b).first(508)));
    EXPECT_EQ(GetLe16(b, SbSumAt), static_cast<u16>(CalcAcc32(b, 0, 509)));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[SbFileNameAt])), "app.hex");
  }
}

TEST(PacketChipData, MaskingOfBothCopies) {
  World w;
  const u16 nonce = 0x1234;
  EXPECT_EQ(SendChipDataCmd(w.Target(0), nonce), 1034u);
  const Bytes p = w.Port.LastPacket();
  ASSERT_EQ(p.size(), 1034u);
  EXPECT_EQ(VerifyReply(p), ResOk);
  EXPECT_EQ(GetLe16(p, 1), nonce);
  EXPECT_TRUE(std::equal(p.begin() + 8, p.begin() + 520, p.begin() + 520));
  const u8 m0 = ((0x34 ^ 0xF4) | 0x80), m1 = ((0x12 ^ 0xED) | 0x80);
  Bytes block(p.begin() + 8, p.begin() + 520);
  for (std::size_t i = 0; i < block.size(); ++i) block[i] ^= (i % 2) ? m1 : m0;
  EXPECT_EQ(Bytes(block.begin(), block.begin() + 4), (Bytes{'Z', 'W', 'L', 'P'}));
  EXPECT_EQ(GetLe16(block, SbCheckAt), Check(std::span<const u8>(block).first(508)));
}

TEST(PacketChipData, MaskBytesIgnoreBit7AndAlwaysSetIt) {
  World a, b;
  SendChipDataCmd(a.Target(), 0x0102);
  SendChipDataCmd(b.Target(), 0x8182);
  const Bytes pa = a.Port.LastPacket(), pb = b.Port.LastPacket();
  // Same random draws, same block: the masked payloads agree.
  EXPECT_TRUE(std::equal(pa.begin() + 8, pa.begin() + 1032, pb.begin() + 8));
  // Bit 7 of every block byte is inverted ("Z" is 0x5A: masked, it has bit 7 set).
  EXPECT_TRUE(pa[8] & 0x80);
  EXPECT_TRUE(pa[9] & 0x80);
}

TEST(PacketChipCommand, LengthsWithAndWithoutDriver) {
  World w;
  EXPECT_EQ(SendChipCommand(w.Target(0, StepBlankCheck), CmdChipOperation, OpBlankCheck), 90u);
  Bytes p = w.Port.LastPacket();
  EXPECT_EQ(GetLe16(p, 1), OpBlankCheck);
  EXPECT_EQ(GetLe16(p, 6), 80u);
  EXPECT_EQ(GetLe16(p, 8 + 10), 0u);  // header parameter 0 in commands

  sim::DriverFileSpec spec;
  const Bytes plain = sim::MakePlainDriverFile(spec);
  std::copy(plain.begin(), plain.end(), w.State->Driver.Image.begin());
  w.State->Driver.DriverLoaded = 1;
  w.Model->Params.UseFlashDriver = 1;
  w.Model->Params.FamilyCode = 0x10;
  EXPECT_EQ(SendChipCommand(w.Target(0, StepBlankCheck), CmdChipOperation, OpBlankCheck), 90u + 16u);
  p = w.Port.LastPacket();
  EXPECT_TRUE(std::equal(plain.begin() + 64, plain.begin() + 80, p.begin() + 88));
  EXPECT_EQ(VerifyReply(p), ResOk);

  w.Model->Params.FamilyCode = 0x00;
  EXPECT_EQ(SendChipCommand(w.Target(0, StepBlankCheck), CmdChipOperation, OpBlankCheck), 1114u + 48u);
  p = w.Port.LastPacket();
  EXPECT_TRUE(std::equal(plain.begin() + 144, plain.begin() + 192, p.begin() + 1112));

  // A step without a segment, and a read block: header and common segment only where due.
  w.Model->Params.FamilyCode = 0x10;
  EXPECT_EQ(SendChipCommand(w.Target(0, StepReadOption), CmdChipOperation, OpReadOption), 90u);
  // No valid driver: commands go without segments.
  w.State->Driver.DriverLoaded = 0;
  EXPECT_EQ(SendChipCommand(w.Target(0, StepBlankCheck), CmdChipOperation, OpBlankCheck), 90u);
}

TEST(PacketChipCommand, ProgramBlockCarriesDataAndSegments) {
  World w;
  for (std::size_t i = 0; i < 8192; ++i) w.Model->MainFlashImage[0x100 + i] = static_cast<u8>(i * 7);
  EXPECT_EQ(SendProgramMainBlockCmd(w.Target(0, StepProgramMain), 4, 0x100), 4186u);
  Bytes p = w.Port.LastPacket();
  EXPECT_EQ(p[0], CmdProgramMainBlock);
  EXPECT_EQ(GetLe16(p, 1), 4u);
  EXPECT_TRUE(std::equal(p.begin() + 88, p.begin() + 4184, w.Model->MainFlashImage.begin() + 0x100 + 4096));

  sim::DriverFileSpec spec;
  const Bytes plain = sim::MakePlainDriverFile(spec);
  std::copy(plain.begin(), plain.end(), w.State->Driver.Image.begin());
  w.State->Driver.DriverLoaded = 1;
  w.Model->Params.UseFlashDriver = 1;
  w.Model->Params.FamilyCode = 0x04;
  EXPECT_EQ(SendProgramMainBlockCmd(w.Target(0, StepProgramMain), 0, 0), 4442u + 48u);
  p = w.Port.LastPacket();
  EXPECT_TRUE(std::equal(plain.begin() + 112, plain.begin() + 144, p.begin() + 4184));
  EXPECT_TRUE(std::equal(plain.begin() + 144, plain.begin() + 192, p.begin() + 4440));
}

// The family decides where the driver's common segment goes: chip commands of 0x00, 0x18
// and 0x04 carry it at 1112, programming blocks only for 0x04, at 4440; the option write
// never. Without a driver only 0xC0 writes the long option data. The test driver's blank
// check, programming and common segments are 16, 32 and 48 bytes long.
TEST(PacketChipCommand, FamilyDecidesWhichRequestsCarryTheCommonSegment) {
  struct Case {
    u8 family;
    std::size_t chipCommand, programBlock, writeOption, writeOptionWithoutDriver;
  };
  const Case cases[] = {
      {0x10, 90 + 16, 4186 + 32, 1114 + 48, 1114}, {0x00, 1114 + 48, 4186 + 32, 1114 + 48, 1114},
      {0x18, 1114 + 48, 4186 + 32, 1114 + 48, 1114}, {0x04, 1114 + 48, 4442 + 48, 1114 + 48, 1114},
      {0xC0, 90 + 16, 4186 + 32, 1114 + 48, 4186},
  };
  const Bytes plain = sim::MakePlainDriverFile(sim::DriverFileSpec{});
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.family));
    World w;
    std::copy(plain.begin(), plain.end(), w.State->Driver.Image.begin());
    w.State->Driver.DriverLoaded = 1;
    w.Model->Params.FamilyCode = c.family;
    w.Model->Params.UseFlashDriver = 1;
    EXPECT_EQ(SendChipCommand(w.Target(0, StepBlankCheck), CmdChipOperation, OpBlankCheck), c.chipCommand);
    EXPECT_EQ(GetLe16(w.Port.LastPacket(), 6), c.chipCommand - 10);
    EXPECT_EQ(SendProgramMainBlockCmd(w.Target(0, StepProgramMain), 0, 0), c.programBlock);
    EXPECT_EQ(GetLe16(w.Port.LastPacket(), 6), c.programBlock - 10);
    EXPECT_EQ(SendWriteOptionCmd(w.Target(0, StepWriteOption)), c.writeOption);
    EXPECT_TRUE(std::equal(plain.begin() + 144, plain.begin() + 192, w.Port.LastPacket().begin() + 1112));
    w.Model->Params.UseFlashDriver = 0;
    EXPECT_EQ(SendWriteOptionCmd(w.Target(0, StepWriteOption)), c.writeOptionWithoutDriver);
  }
}

TEST(PacketData, BlocksOutsideTheImageAreSentErased) {
  World w;
  w.Model->EepImage.back() = 0x12;
  // Block 255 of the data-flash image starts 1024 bytes before its end.
  EXPECT_EQ(SendDownloadEepBlockCmd(w.Target(), 255, 0), 4106u);
  const Bytes p = w.Port.LastPacket();
  EXPECT_EQ(p[8 + 1023], 0x12);
  EXPECT_TRUE(std::all_of(p.begin() + 8 + 1024, p.begin() + 4104, [](u8 b) { return b == 0xFF; }));
}

TEST(PacketData, EachBlockIsTheFrameOfHeaderImageBytesAndCheckWord) {
  World w;
  w.Model->Params.ProtocolKind = 0x03;
  w.Model->Params.FamilyCode = 0x04;
  w.Model->Params.Subtype = 0x05;
  // Every byte value, delimiters and escapes among them.
  auto& image = w.Model->MainFlashImage;
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<u8>(i * 7 + i / 256);
  const std::int64_t size = static_cast<std::int64_t>(image.size());
  const struct {
    u16 block;
    i32 offset;
    bool blankIsZero;
  } table[] = {
      {0, 0, false},                                    // inside
      {4, 0x3A5, false},                                // inside, not on a block boundary
      {0, -100, false},                                 // starts before the image
      {0, -5000, true},                                 // lies wholly before it
      {static_cast<u16>(size / 1024 - 1), 0, false},    // runs past its end
      {static_cast<u16>(size / 1024), 0, true},         // lies wholly after it
  };
  for (const auto& row : table) {
    SCOPED_TRACE(testing::Message() << row.block << " " << row.offset);
    w.Model->Params.BlankIsZero = row.blankIsZero;
    Bytes packet = {CmdDownloadMainBlock, 0, 0, 0x03, 0x04, 0x05, 0x00, 0x10};
    PutLe16(packet, 1, row.block);
    const std::int64_t start = std::int64_t{row.block} * 1024 + row.offset;
    for (std::int64_t a = start; a < start + 4096; ++a)
      packet.push_back(a >= 0 && a < size ? image[static_cast<std::size_t>(a)] : (row.blankIsZero ? 0x00 : 0xFF));
    packet.resize(packet.size() + 2);
    PutLe16(packet, 4104, Check(std::span<const u8>(packet).first(4104)));
    Bytes frame(TxFrameSize);
    frame.resize(EncodeFrame(packet, frame));

    EXPECT_EQ(SendDownloadMainBlockCmd(w.Target(), row.block, row.offset), 4106u);
    EXPECT_EQ(w.Port.frames.back(), frame);
    EXPECT_TRUE(std::equal(packet.begin(), packet.end(), w.State->Units[0].PacketBuf.begin()));
  }
}

TEST(PacketOption, CheckLeavesOutTheLastPayloadByte) {
  World w;
  w.Model->OptionImage[1023] = 0x5A;
  EXPECT_EQ(SendWriteOptionCmd(w.Target(0, StepWriteOption)), 1114u);
  Bytes p = w.Port.LastPacket();
  EXPECT_EQ(p[8 + 80 + 1023], 0x5A);
  EXPECT_EQ(GetLe16(p, p.size() - 2), Check(std::span<const u8>(p).first(p.size() - 3)));
  EXPECT_EQ(VerifyReply(p), ResCheckMismatch);
  w.Model->Params.FamilyCode = 0xC0;
  EXPECT_EQ(SendWriteOptionCmd(w.Target(0, StepWriteOption)), 4186u);
}

TEST(PacketReadAddress, SeventyFourBytes) {
  World w;
  w.Model->ReadStart = 0x08001234;
  w.Model->ReadLength = 0x0100;
  EXPECT_EQ(SendReadAddressCmd(w.Target(), OpReadAddress), 74u);
  const Bytes p = w.Port.LastPacket();
  EXPECT_EQ(GetLe16(p, 1), OpReadAddress);
  EXPECT_EQ(GetLe32(p, 8 + 48), 0x08001234u);
  EXPECT_EQ(GetLe16(p, 8 + 52), 0x0100u);
  EXPECT_EQ(VerifyReply(p), ResOk);
}

TEST(PacketDriverBlock, SizeAndFirst2048Bytes) {
  World w;
  for (std::size_t i = 0; i < 4096; ++i) w.State->Driver.Image[i] = static_cast<u8>(i);
  w.State->Driver.DriverSize = 1234;
  EXPECT_EQ(SendDriverBlockCmd(w.Target()), 2058u);
  const Bytes p = w.Port.LastPacket();
  EXPECT_EQ(GetLe16(p, 1), 1234u);
  EXPECT_TRUE(std::equal(p.begin() + 8, p.begin() + 2056, w.State->Driver.Image.begin()));
}

TEST(PacketFirmware, BlockIndexWrapsAndMaskRestores) {
  World w;
  for (std::size_t i = 0; i < w.State->Firmware.Image.size(); ++i) w.State->Firmware.Image[i] = static_cast<u8>(i ^ (i >> 8));
  struct Case {
    u16 block;
    u8 byte1;
    std::size_t base;
  };
  for (const Case c : {Case{1, 4, 2048}, Case{64, 0, 0}, Case{33, 132, 2048}}) {
    EXPECT_EQ(SendFirmwareBlockCmd(w.Target(), c.block), 4138u);
    const Bytes p = w.Port.LastPacket();
    EXPECT_EQ(p[1], c.byte1);
    EXPECT_EQ(VerifyReply(p), ResOk);
    const u8 nl = p[2], nh = p[3];
    for (std::size_t i = 0; i < 512; ++i) {
      const auto& img = w.State->Firmware.Image;
      ASSERT_EQ(p[8 + 4 * i] ^ p[2056 + 4 * i] ^ nl, img[c.base + 4 * i]);
      ASSERT_EQ(p[9 + 4 * i] ^ p[2057 + 4 * i] ^ nh, img[c.base + 4 * i + 1]);
      ASSERT_EQ(p[10 + 4 * i] ^ p[2058 + 4 * i] ^ nl, img[c.base + 4 * i + 2]);
      ASSERT_EQ(p[11 + 4 * i], 0);
    }
  }
  EXPECT_EQ(w.Random.ranges.front(), 0xFFF5u);  // nonce first
}

TEST(DownloadSize, Cases) {
  struct Case {
    u32 flashSize;
    std::int64_t lastNonBlank;  // -1: none
    u32 expected;
  };
  for (const Case c : {Case{0x10000, -1, 1024}, Case{512, -1, 512}, Case{0x10000, 0x1234, 0x1300},
                       Case{0x10000, 0xFFFF, 0x10000}, Case{0, -1, 0}, Case{0x10000, 100, 1024}}) {
    auto m = std::make_unique<ChipModel>();
    m->Params.MainFlashSize = c.flashSize;
    m->Params.MainImageOffset = 0x1000;
    if (c.lastNonBlank >= 0) m->MainFlashImage[0x1000 + static_cast<std::size_t>(c.lastNonBlank)] = 0x00;
    CalcDownloadSize(*m);
    EXPECT_EQ(m->Params.DownloadSize, c.expected) << c.flashSize << " " << c.lastNonBlank;
  }
}

}  // namespace
}  // namespace qx::wiretest
