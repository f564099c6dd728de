#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <ostream>

#include "programmer/AutoChain.h"
#include "programmer/CommandCodes.h"
#include "programmer/DownloadChain.h"
#include "programmer/OnlineChains.h"
#include "programmer/ResultCode.h"
#include "tests/programmer/session_fixture.h"
#include "texts/Texts.h"

namespace qx::test {
namespace {

// A chip that answers like a unit: status 6 to writes, its memory to reads.
class OnlineChain : public ::testing::Test {
 protected:
  void SetUp() override {
    auto& p = w.model->Params;
    p.MainFlashStart = 0x08000000;
    p.MainFlashEnd = 0x08002FFF;
    p.MainFlashSize = 0x3000;
    p.DownloadSize = 0x3000;
    p.MainImageOffset = 0;
    p.EepStart = 0x0C000000;
    p.EepSize = 0x1800;
    for (std::size_t i = 0; i < 0x4000; ++i) w.model->MainFlashImage[i] = static_cast<u8>(i * 13 + 1);
    for (std::size_t i = 0; i < 0x2000; ++i) w.model->EepImage[i] = static_cast<u8>(i * 3 + 9);
    chipMain.assign(w.model->MainFlashImage.begin(), w.model->MainFlashImage.begin() + 0x4000);
    chipEep.assign(w.model->EepImage.begin(), w.model->EepImage.begin() + 0x2000);
  }
  std::vector<u8> Answer(const std::vector<u8>& req) {
    const u16 param = GetLe16(req, 1);
    if (req[0] == CmdReadMainBlock || req[0] == CmdReadEepBlock) {
      const auto& mem = req[0] == CmdReadMainBlock ? chipMain : chipEep;
      std::vector<u8> data(4096, 0xFF);
      for (std::size_t i = 0; i < 4096 && param * 1024u + i < mem.size(); ++i) data[i] = mem[param * 1024u + i];
      return DataReply(data);
    }
    if (req[0] == CmdChipOperation && param == OpBlankCheck) return StatusReply(blankCode);
    if (req[0] == CmdChipOperation && param == OpReadChecksum) {
      const u8 d[] = {0x34, 0x12, 0x78, 0x56, 0x34, 0x12};
      return DataReply(d);
    }
    return StatusReply(ResAck);
  }
  void RunUnit(u8 k) {
    for (int guard = 0; w.U(k).Busy && guard < 1000; ++guard) w.Feed(k, Answer(w.ports[k].packets.back()));
  }
  std::vector<std::pair<u8, u16>> Requests(u8 k) const {
    std::vector<std::pair<u8, u16>> r;
    for (const auto& p : w.ports[k].packets) r.emplace_back(p[0], GetLe16(p, 1));
    return r;
  }
  SessionWorld w;
  std::vector<u8> chipMain, chipEep;
  u8 blankCode = ResAck;
};

struct BlankCase {
  u8 code;
  u8 autoChain;
  std::vector<std::string> texts;
  GaugeState gauge;
  u8 nextStep;
};
// Cases print as what they vary, not as their bytes.
void PrintTo(const BlankCase& c, std::ostream* os) { *os << "code" << unsigned{c.code} << "_chain" << unsigned{c.autoChain}; }

class BlankCheck : public OnlineChain, public ::testing::WithParamInterface<BlankCase> {};

TEST_P(BlankCheck, CodeDecidesTheNextStep) {
  const auto& c = GetParam();
  w.U(4).AutoChain = c.autoChain;
  StartBlankCheck(*w.s, 4);
  w.Status(4, c.code);
  auto texts = w.UnitTexts(4);
  texts.erase(texts.begin());
  EXPECT_EQ(texts, c.texts);
  EXPECT_EQ(w.U(4).StepState, c.nextStep);
  if (c.nextStep == StepIdle) {
    EXPECT_EQ(w.U(4).Gauge.State, c.gauge);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, BlankCheck,
    ::testing::Values(
        BlankCase{6, 0, {"Chip is Blank!"}, GaugeState::Ok, StepIdle},
        BlankCase{0, 1, {"Chip is Blank!", "Start to Program Main Flash Data......"}, GaugeState::Running, StepProgramMain},
        BlankCase{21, 0, {"Chip is not blank!"}, GaugeState::Failed, StepIdle},
        BlankCase{21, 1, {"Chip is not blank, do erasing......"}, GaugeState::Running, StepErase},
        BlankCase{19, 0, {"Chip has been read out protected!", "Chip Has been Read out Protected!"}, GaugeState::Failed, StepIdle},
        BlankCase{90, 0, {"Chip has been read out protected!", "Opertaion Failed! Error Code : 090/0x5A."}, GaugeState::Failed,
                  StepIdle},
        BlankCase{90, 1, {"Chip has been protected, do erasing......"}, GaugeState::Running, StepErase},
        BlankCase{16, 1, {"Chip has been protected, do erasing......"}, GaugeState::Running, StepErase},
        BlankCase{11, 1, {"Chip error: No Response!"}, GaugeState::Failed, StepIdle}));

TEST_F(OnlineChain, EraseUsesItsLongTimeoutAndEndsWithItsLine) {
  StartErase(*w.s, 0, "Do Chip Erase......");
  EXPECT_EQ(w.U(0).TimeoutTicks, 2000);
  EXPECT_EQ(w.U(0).Gauge.Progress, 30);
  EXPECT_EQ(Requests(0), (std::vector<std::pair<u8, u16>>{{CmdChipOperation, OpErase}}));
  w.Status(0, 6);
  EXPECT_EQ(w.UnitTexts(0), (std::vector<std::string>{"Do Chip Erase......", "Chip has been erased!"}));
  EXPECT_EQ(w.U(0).Busy, 0);
}

TEST_F(OnlineChain, AutoChainWithoutOptionBytesEndsWithoutSerialAdvance) {
  blankCode = 21;
  w.U(1).AutoChain = 1;
  StartAutoProgram(*w.s, 1);
  RunUnit(1);
  const std::vector<std::pair<u8, u16>> expected = {
      {CmdChipOperation, OpBlankCheck}, {CmdChipOperation, OpErase}, {CmdProgramMainBlock, 0}, {CmdProgramMainBlock, 4},
      {CmdProgramMainBlock, 8},         {CmdReadMainBlock, 0},       {CmdReadMainBlock, 4},    {CmdReadMainBlock, 8}};
  EXPECT_EQ(Requests(1), expected);
  EXPECT_EQ(w.UnitTexts(1), (std::vector<std::string>{"Start Auto-Programming, Do Chip Blank Checking......",
                                                      "Chip is not blank, do erasing......", "Chip has been erased!",
                                                      "Start to Program Main Flash Data......",
                                                      "Main Flash Programming Success!",
                                                      "Start to Verify Main Flash Data......",
                                                      "Main Flash Data Verify Successed!", "Chip programming Successed!"}));
  EXPECT_TRUE(w.op.serialAdvances.empty());
  EXPECT_EQ(w.U(1).Gauge.State, GaugeState::Ok);
}

TEST_F(OnlineChain, AutoChainWithDataFlashAndOptionBytesAdvancesTheSerialOnce) {
  w.model->ProgramEep = 1;
  w.model->ProgramOptionBytes = 1;
  w.U(0).AutoChain = 1;
  StartAutoProgram(*w.s, 0);
  RunUnit(0);
  std::vector<u8> cmds;
  for (const auto& [c, p] : Requests(0)) cmds.push_back(c);
  EXPECT_EQ(cmds, (std::vector<u8>{CmdChipOperation, CmdProgramMainBlock, CmdProgramMainBlock, CmdProgramMainBlock,
                                   CmdProgramEepBlock, CmdProgramEepBlock, CmdReadMainBlock, CmdReadMainBlock,
                                   CmdReadMainBlock, CmdReadEepBlock, CmdReadEepBlock, CmdChipOperation}));
  EXPECT_EQ(GetLe16(w.ports[0].packets.back(), 1), OpWriteOption);
  const auto texts = w.UnitTexts(0);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "Main Flash Programming Success!"), 0);
  EXPECT_EQ(texts.back(), "Write Option Byte Successed!");
  EXPECT_NE(std::find(texts.begin(), texts.end(), "EEP Data Verify Successed!"), texts.end());
  EXPECT_EQ(w.op.serialAdvances, std::vector<u8>{0});
}

TEST_F(OnlineChain, VerifyMismatchAsksPerByteUntilAbortThenFails) {
  chipMain[0x10] ^= 0xFF;
  chipMain[0x11] ^= 0x01;
  chipMain[0x12] ^= 0x01;
  w.op.answers = {MsgAnswer::Yes, MsgAnswer::Abort};
  StartVerifyMain(*w.s, 2);
  RunUnit(2);
  ASSERT_EQ(w.op.messages.size(), 2u);
  EXPECT_EQ(w.op.messages[0].text, Tx(TextId::VerifyMismatch, 3, 0x10u, w.model->MainFlashImage[0x10], chipMain[0x10]));
  EXPECT_EQ(w.op.messages[0].text.substr(0, 26), "Chip 3: Address=0x00000010");
  EXPECT_EQ(w.op.messages[0].buttons, MsgButtons::YesAbort);
  EXPECT_EQ(w.LastLine(), SessionWorld::UnitLine(2, "Data Verify error!"));
  EXPECT_EQ(w.U(2).Gauge.State, GaugeState::Failed);
  EXPECT_EQ(w.ports[2].packets.size(), 1u);
}

TEST_F(OnlineChain, DataFlashMismatchShowsTheDataFlashAddress) {
  w.model->ProgramEep = 1;
  chipEep[0x1004] ^= 0x40;
  StartVerifyEep(*w.s, 0);
  RunUnit(0);
  ASSERT_EQ(w.op.messages.size(), 1u);
  EXPECT_EQ(w.op.messages[0].text.substr(0, 26), "Chip 1: Address=0x0C001004");
}

TEST_F(OnlineChain, VerifyComparesOnlyUpToTheFlashEnd) {
  w.model->Params.MainFlashEnd = 0x08002BFF;  // 0x2C00 bytes: the last packet holds 0x400 of them
  w.model->Params.DownloadSize = 0x2C00;
  chipMain[0x2C00] ^= 0xFF;  // beyond the flash
  StartVerifyMain(*w.s, 0);
  RunUnit(0);
  EXPECT_TRUE(w.op.messages.empty());
  EXPECT_EQ(w.LastLine(), SessionWorld::UnitLine(0, "Main Flash Data Verify Successed!"));
}

// A verify or a read asks for the chip's bytes: a status reply, 0 or 6 alike, carries none.
// It ends the step as a packet error, nothing compared and nothing stored; it does not pass
// as a verified chip (an automatic chain would end there, blue, its option bytes unwritten)
// or as a chip read (a Download after it would send the image loaded before). Nor are the
// status bytes taken for the chip's own when the block holds only a byte or two.
TEST_F(OnlineChain, VerifiesAndReadsTakeOnlyDataReplies) {
  using Step = std::function<void(UnitSessions&, u8)>;
  const struct {
    const char* name;
    Step start;
    u32 eepSize;
  } steps[] = {
      {"verify main", StartVerifyMain, 0x1800}, {"verify data flash", StartVerifyEep, 0x1800},
      {"verify one data-flash byte", StartVerifyEep, 1}, {"read main", StartReadMain, 0x1800},
      {"read data flash", StartReadEep, 0x1800}, {"read one data-flash byte", StartReadEep, 1},
      {"read checksum", StartReadChecksum, 0x1800}, {"read chip information", StartReadChipInfo, 0x1800},
  };
  for (const auto& step : steps) {
    for (const u8 status : {ResOk, ResAck}) {
      SCOPED_TRACE(std::string(step.name) + ", status " + std::to_string(status));
      SessionWorld v;
      v.model->Params = w.model->Params;
      v.model->Params.EepSize = step.eepSize;
      v.model->EepImage[0] = 0x00;  // what the status reply's bytes would read as
      v.U(0).AutoChain = 1;
      const auto main = v.model->MainFlashImage;
      const auto eep = v.model->EepImage;
      step.start(*v.s, 0);
      v.Status(0, status);
      const auto ends = v.op.Ends(0);
      ASSERT_EQ(ends.size(), 1u);
      EXPECT_FALSE(ends[0].ok);
      EXPECT_EQ(v.LastLine(), SessionWorld::UnitLine(0, "Packet Error!"));
      EXPECT_EQ(v.ports[0].packets.size(), 1u);
      EXPECT_TRUE(v.op.messages.empty());
      EXPECT_EQ(v.model->ObjectLoaded, 0);
      EXPECT_TRUE(v.model->MainFlashImage == main);
      EXPECT_TRUE(v.model->EepImage == eep);
    }
  }
}

// The bytes a data reply carried decide; its PayloadLength field (bytes 6..7) only tells a
// data reply from a status reply and is not held against them.
TEST_F(OnlineChain, DataRepliesAreReadAsFarAsTheyCarry) {
  using Step = std::function<void(UnitSessions&, u8)>;
  // The chip's own bytes: a verify that reads them finds no difference.
  const auto main = [&](std::size_t n) { return std::vector<u8>(chipMain.begin(), chipMain.begin() + n); };
  const auto eep = [&](std::size_t n) { return std::vector<u8>(chipEep.begin(), chipEep.begin() + n); };
  const std::vector<u8> sums = {0x34, 0x12, 0x78, 0x56, 0x34, 0x12};
  struct Case {
    const char* name;
    Step start;
    std::vector<u8> data;
    u16 announced;
    bool packetError;
  };
  const Case cases[] = {
      {"verify, short", StartVerifyMain, main(5), 5, true},
      {"verify, announces more than it carries", StartVerifyMain, main(4096), 8000, false},
      {"verify, announces less", StartVerifyMain, main(4096), 3, false},
      {"verify, one byte short", StartVerifyMain, main(4095), 4096, true},
      {"read main, announces less", StartReadMain, main(4096), 100, false},
      {"read main, announces more", StartReadMain, main(4000), 4096, true},
      {"read eep, announces more", StartReadEep, eep(4096), 0xFFFF, false},
      {"read eep, short", StartReadEep, eep(4000), 4096, true},
      {"checksum, announces more", StartReadChecksum, sums, 200, false},
      {"checksum, short", StartReadChecksum, std::vector<u8>(sums.begin(), sums.begin() + 5), 5, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SessionWorld v;
    v.model->Params = w.model->Params;
    std::copy(chipMain.begin(), chipMain.end(), v.model->MainFlashImage.begin());
    std::copy(chipEep.begin(), chipEep.end(), v.model->EepImage.begin());
    c.start(*v.s, 5);
    std::vector<u8> packet = ReplyPacket(0, c.data);
    PutLe16(packet, 6, c.announced);
    PutLe16(packet, packet.size() - 2, CalcCheck16(std::span<const u8>(packet).first(packet.size() - 2)));
    v.Feed(5, Framed(packet));
    EXPECT_TRUE(v.op.messages.empty());
    if (c.packetError) {
      EXPECT_EQ(v.LastLine(), SessionWorld::UnitLine(5, "Packet Error!"));
      EXPECT_EQ(v.U(5).Busy, 0);
      EXPECT_EQ(v.ports[5].packets.size(), 1u);
      continue;
    }
    EXPECT_NE(v.U(5).Gauge.State, GaugeState::Failed);
    if (v.U(5).Busy) {
      EXPECT_EQ(v.ports[5].packets.size(), 2u);  // the next block was asked for
    } else {
      EXPECT_EQ(v.LastLine(), SessionWorld::UnitLine(5, "Read Chip CRC16/ACC32 CheckSum:  0x1234/0x12345678."));
    }
  }
}

// The four data-flash chains at sizes on both sides of the 4096-byte packet: one request
// per packet begun, the last beginning below the size; the chip's bytes past the size are
// neither compared nor stored.
TEST_F(OnlineChain, DataFlashChainsEndAtTheLastPacketOfTheSize) {
  using Step = std::function<void(UnitSessions&, u8)>;
  enum class Kind { Write, Verify, Read };
  struct Chain {
    const char* name;
    Step start;
    u8 command;
    std::size_t dataAt;  // packet offset of the image bytes a write carries
    Kind kind;
    const char* done;
  };
  const Chain chains[] = {
      {"download", StartDownloadEep, CmdDownloadEepBlock, 8, Kind::Write, "Data Donwload Success!"},
      {"program", StartProgramEep, CmdProgramEepBlock, 88, Kind::Write, "EEP Data Programm Successed!"},
      {"verify", StartVerifyEep, CmdReadEepBlock, 0, Kind::Verify, "EEP Data Verify Successed!"},
      {"read", StartReadEep, CmdReadEepBlock, 0, Kind::Read, "EEP Data has been read out!"},
  };
  const struct {
    u32 size;
    std::vector<u16> blocks;
  } sizes[] = {{0x0C00, {0}}, {0x1000, {0}}, {0x1800, {0, 4}}, {0x2000, {0, 4}}};
  constexpr u8 k = 7;
  for (const Chain& c : chains) {
    for (const auto& z : sizes) {
      SCOPED_TRACE(std::string(c.name) + " of " + std::to_string(z.size) + " bytes");
      SessionWorld v;
      v.model->Params = w.model->Params;
      v.model->Params.EepSize = z.size;
      for (std::size_t i = 0; i < 0x3000; ++i) v.model->EepImage[i] = static_cast<u8>(i * 5 + (i >> 8));
      const std::vector<u8> image(v.model->EepImage.begin(), v.model->EepImage.begin() + 0x3000);
      chipEep = image;
      if (c.kind == Kind::Read) for (auto& b : chipEep) b = static_cast<u8>(b ^ 0x33);
      if (c.kind == Kind::Verify) chipEep[z.size] ^= 0xFF;  // just past the size
      c.start(*v.s, k);
      for (int guard = 0; v.U(k).Busy && guard < 100; ++guard) v.Feed(k, Answer(v.ports[k].packets.back()));

      std::vector<u16> blocks;
      for (const auto& p : v.ports[k].packets) {
        ASSERT_GE(p.size(), 10u);
        if (p[0] != c.command) continue;
        const u16 block = GetLe16(p, 1);
        blocks.push_back(block);
        if (c.kind != Kind::Write) continue;
        ASSERT_GE(p.size(), c.dataAt + 4096);
        const std::size_t from = std::size_t{block} * 1024;
        const std::size_t inside = std::min<std::size_t>(4096, z.size - from);
        EXPECT_TRUE(std::equal(p.begin() + c.dataAt, p.begin() + c.dataAt + inside, image.begin() + from)) << block;
      }
      EXPECT_EQ(blocks, z.blocks);
      EXPECT_EQ(v.U(k).Busy, 0);
      EXPECT_EQ(v.U(k).Gauge.State, GaugeState::Ok);
      EXPECT_TRUE(v.op.messages.empty());
      const auto texts = v.UnitTexts(k);
      ASSERT_FALSE(texts.empty());
      EXPECT_EQ(texts.back(), c.done);
      if (c.kind == Kind::Read) {
        EXPECT_TRUE(std::equal(chipEep.begin(), chipEep.begin() + z.size, v.model->EepImage.begin()));
        EXPECT_TRUE(std::equal(image.begin() + z.size, image.end(), v.model->EepImage.begin() + z.size));
      }
    }
  }
}

TEST_F(OnlineChain, ReadMainFillsTheImageAndSetsObjectLoaded) {
  for (auto& b : chipMain) b = static_cast<u8>(b + 1);
  w.model->Params.DownloadSize = 0x400;  // a smaller job loaded before
  StartReadMain(*w.s, 0);
  RunUnit(0);
  EXPECT_TRUE(std::equal(chipMain.begin(), chipMain.begin() + 0x3000, w.model->MainFlashImage.begin()));
  EXPECT_EQ(w.model->ObjectLoaded, 1);
  EXPECT_EQ(w.model->Params.DownloadSize, w.model->Params.MainFlashSize);
  EXPECT_EQ(w.op.mainHex, (std::vector<std::pair<u32, u32>>{{0x08000000, 0x08002FFF}}));
  EXPECT_EQ(w.op.checksumChanges, 1);
  EXPECT_EQ(w.op.mainReadBacks, 1);
  // The read-back sum follows the unit's line.
  const auto& lines = w.Lines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], SessionWorld::UnitLine(0, "Main Flash Has been read out!"));
  EXPECT_EQ(lines.back().rfind("> 12:34:56 Read Chip Main Flash ACC32 CheckSum = 0x", 0), 0u);
}

TEST_F(OnlineChain, ReadMainOfAChipThatWouldPassTheImageIsRefused) {
  w.model->Params.MainImageOffset = MainImageSize - 0x1000;
  w.model->Params.MainFlashSize = 0x1001;
  StartReadMain(*w.s, 0);
  EXPECT_TRUE(w.ports[0].packets.empty());
  EXPECT_EQ(w.LastLine(), SessionWorld::UnitLine(0, "Chip is larger than the image buffer, read stopped!"));
  EXPECT_EQ(w.U(0).Gauge.State, GaugeState::Failed);
}

TEST_F(OnlineChain, ReadEepCopiesOnlyTheDataFlashSize) {
  w.model->EepImage[0x1800] = 0xAB;
  for (auto& b : chipEep) b = 0x42;
  StartReadEep(*w.s, 0);
  RunUnit(0);
  EXPECT_EQ(w.model->EepImage[0x17FF], 0x42);
  EXPECT_EQ(w.model->EepImage[0x1800], 0xAB);
  EXPECT_EQ(w.ports[0].packets.size(), 2u);
  EXPECT_EQ(w.op.eepShows, 1);
  EXPECT_EQ(w.op.checksumChanges, 1);
  EXPECT_EQ(w.op.mainReadBacks, 0);
  EXPECT_EQ(w.LastLine().rfind("> 12:34:56 Read Chip EEP Data ACC32 CheckSum = 0x", 0), 0u);
}

TEST_F(OnlineChain, ChecksumReadShowsCrcAndSum) {
  StartReadChecksum(*w.s, 0);
  RunUnit(0);
  EXPECT_EQ(w.LastLine(), SessionWorld::UnitLine(0, "Read Chip CRC16/ACC32 CheckSum:  0x1234/0x12345678."));
}

TEST_F(OnlineChain, ChipInfoAndAddressReadsListTheirRows) {
  std::vector<u8> info(512);
  for (std::size_t i = 0; i < info.size(); ++i) info[i] = static_cast<u8>(i);
  w.U(0).StepState = StepReadChipInfo;
  w.U(0).Busy = 1;
  w.Feed(0, DataReply(info));
  const auto& l = w.Lines();
  ASSERT_EQ(l.size(), 34u);
  EXPECT_EQ(l[1], ">     Chip Information Data as Below: ");
  EXPECT_EQ(l[2].substr(0, 18), "  0x03800000 : 00 ");
  EXPECT_EQ(l[33].substr(0, 14), "  0x038001F0 :");
  EXPECT_EQ(l[33].substr(l[33].size() - 3), " FF");

  // The address read lists every byte asked for that the reply carried, 16 to a row, the
  // last row as long as what is left; a status-only success ends the step well with the
  // heading alone.
  struct AddressCase {
    const char* name;
    u16 readLength;
    std::vector<u8> reply;
    std::size_t rows;
    std::size_t lastRowBytes;
  };
  const auto first = [&](std::size_t n) { return DataReply(std::span<const u8>(info).first(n)); };
  const AddressCase addressCases[] = {
      {"length 1", 1, first(16), 1, 1},
      {"length 15", 15, first(15), 1, 15},
      {"length 16", 16, first(16), 1, 16},
      {"length 17", 17, first(17), 2, 1},
      {"length 100", 100, first(100), 7, 4},
      {"length 100, longer reply", 100, first(256), 7, 4},
      {"reply longer than asked", 32, first(64), 2, 16},
      {"reply shorter than asked", 64, first(40), 3, 8},
      {"status 6 only", 64, StatusReply(6), 0, 0},
      {"status 0 only", 64, StatusReply(0), 0, 0},
  };
  w.model->ReadStart = 0x20000000;
  for (const AddressCase& c : addressCases) {
    SCOPED_TRACE(c.name);
    w.model->ReadLength = c.readLength;
    w.U(0).StepState = StepReadAddress;
    w.U(0).Busy = 1;
    const std::size_t before = l.size();
    w.Feed(0, c.reply);
    EXPECT_EQ(w.U(0).Busy, 0);
    EXPECT_EQ(w.U(0).Gauge.State, GaugeState::Ok);
    ASSERT_EQ(l.size(), before + 1 + c.rows);
    EXPECT_EQ(l[before], "> Read Address Memory Data below: ");
    if (c.rows > 2 || (c.rows == 2 && c.lastRowBytes == 16)) {
      EXPECT_EQ(l[before + 2], "0x20000010 : 10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F ");
    }
    if (c.rows > 0) {
      // The last row: its address, then exactly the bytes left, each as in a full row.
      const std::size_t from = (c.rows - 1) * 16;
      char label[32];
      std::snprintf(label, sizeof label, "0x%08X : ", static_cast<unsigned>(0x20000000 + from));
      std::string expected = label;
      for (std::size_t i = from; i < from + c.lastRowBytes; ++i) {
        char b[8];
        std::snprintf(b, sizeof b, "%02X ", info[i]);
        expected += b;
      }
      EXPECT_EQ(l[before + c.rows], expected);
    }
  }

  // Units other than 0 have no handler for these steps.
  w.U(1).StepState = StepReadChipInfo;
  const auto before = l.size();
  w.Feed(1, DataReply(info));
  EXPECT_EQ(l.size(), before);
}

// The two reads of unit 0 that a window command starts directly: what each sends, how its
// step opens, and that its reply ends it.
TEST_F(OnlineChain, TheAddressAndChipInformationReadsOpenTheirStepsAndSend) {
  w.model->ReadStart = 0x08000100;
  w.model->ReadLength = 32;
  StartReadAddress(*w.s, 0);
  ASSERT_EQ(Requests(0), (std::vector<std::pair<u8, u16>>{{CmdChipOperation, OpReadAddress}}));
  EXPECT_EQ(GetLe32(w.ports[0].packets[0], 8 + 48), 0x08000100u);
  EXPECT_EQ(GetLe16(w.ports[0].packets[0], 8 + 52), 32u);
  EXPECT_EQ(w.U(0).StepState, StepReadAddress);
  EXPECT_EQ(w.U(0).Busy, 1);
  EXPECT_EQ(w.U(0).TimeoutTicks, TicksAfterCommand);
  EXPECT_EQ(w.U(0).Gauge.Progress, 250);
  EXPECT_TRUE(w.Lines().empty());
  w.Feed(0, DataReply(std::vector<u8>(32, 0x5A)));
  EXPECT_EQ(w.U(0).Busy, 0);
  ASSERT_EQ(w.Lines().size(), 3u);
  EXPECT_EQ(w.Lines()[2].substr(0, 16), "0x08000110 : 5A ");

  StartReadChipInfo(*w.s, 0);
  ASSERT_EQ(Requests(0).size(), 2u);
  EXPECT_EQ(Requests(0)[1], (std::pair<u8, u16>{CmdChipOperation, OpReadChipInfo}));
  EXPECT_EQ(w.U(0).StepState, StepReadChipInfo);
  EXPECT_EQ(w.U(0).Busy, 1);
  EXPECT_EQ(w.U(0).TimeoutTicks, TicksAfterCommand);
  EXPECT_EQ(w.U(0).Gauge.Progress, 15);
  EXPECT_EQ(w.U(0).Gauge.Max, 500);
  EXPECT_EQ(w.LastLine(), "> 12:34:56 Read Chip Information Data......");
  w.Feed(0, DataReply(std::vector<u8>(512, 0xA5)));
  EXPECT_EQ(w.U(0).Busy, 0);
  EXPECT_EQ(w.LastLine().substr(0, 19), "  0x038001F0 : A5 A");
}

// With no valid driver a request is refused only when it would carry driver bytes: a step
// with a segment entry, or a chip command of a family with the common segment (0x00, 0x18,
// 0x04). The other requests go out as they always do, without segments.
TEST_F(OnlineChain, WithoutADriverOnlyRequestsThatCarryDriverBytesAreRefused) {
  using Step = std::function<void(UnitSessions&, u8)>;
  struct Start {
    const char* name;
    Step start;
    bool hasSegment;
    bool chipCommand = true;  // a chip command carries the family's common segment
    std::size_t bare = 90;    // its packet without driver bytes
  };
  const Start starts[] = {
      {"blank check", StartBlankCheck, true},        {"auto", StartAutoProgram, true},
      {"erase", [](UnitSessions& s, u8 k) { StartErase(s, k, "x"); }, true},
      {"program main", StartProgramMain, true},      {"program eep", StartProgramEep, true},
      {"write option", StartWriteOption, true},      {"checksum", StartReadChecksum, true},
      {"verify main", StartVerifyMain, false},       {"verify eep", StartVerifyEep, false},
      {"read main", StartReadMain, false},           {"read eep", StartReadEep, false},
      {"read option", StartReadOption, false},       {"read chip info", StartReadChipInfo, false},
      {"read address", StartReadAddress, false, false, 74},
  };
  for (const u8 family : {u8{0x10}, u8{0x01}, u8{0x00}, u8{0x18}, u8{0x04}}) {
    const bool common = family == 0x00 || family == 0x18 || family == 0x04;
    for (const Start& st : starts) {
      SCOPED_TRACE(std::string(st.name) + " family " + std::to_string(family));
      SessionWorld v;
      v.model->Params = w.model->Params;
      v.model->Params.UseFlashDriver = 1;
      v.model->Params.FamilyCode = family;
      st.start(*v.s, 6);
      const bool refused = st.hasSegment || (common && st.chipCommand);
      if (refused) {
        EXPECT_TRUE(v.ports[6].packets.empty());
        EXPECT_EQ(v.U(6).Busy, 0);
        EXPECT_EQ(v.LastLine(), SessionWorld::UnitLine(6, "Flash driver is not loaded, command not sent!"));
      } else {
        ASSERT_EQ(v.ports[6].packets.size(), 1u);
        EXPECT_EQ(v.ports[6].packets[0].size(), st.bare);  // the header, no driver bytes
        EXPECT_EQ(v.U(6).Busy, 1);
      }
    }
  }
  // A loaded driver lets every request go.
  w.model->Params.UseFlashDriver = 1;
  w.wire->Driver.DriverLoaded = 1;
  StartBlankCheck(*w.s, 6);
  EXPECT_EQ(w.ports[6].packets.size(), 1u);
}

}  // namespace
}  // namespace qx::test
