// The simulated unit answering the program's own requests: in process through its codec,
// and once through real pseudo-terminals.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <fstream>
#include <random>
#include <sstream>

#include "base/ByteOrder.h"
#include "images/Checksums.h"
#include "programmer/CommandCodes.h"
#include "programmer/FirmwareCommands.h"
#include "tests/programmer/wire_support.h"
#include "tests/unitsim/SimCheck.h"
#include "tests/unitsim/SimFiles.h"
#include "tests/unitsim/UnitSimulator.h"

namespace qx::wiretest {
namespace {

// The unit's check word is its own: the answers its definition gives, and the same word as
// ours over buffers of the lengths packets have. A wrong routine on either side shows here
// and, on the wire, as a unit that answers check mismatch.
TEST(SimCheckWord, KnownAnswersAndAgreementWithOurs) {
  EXPECT_EQ(sim::SimCheck16(Bytes{'a', 'b', 'c'}), 0x2543);
  EXPECT_EQ(sim::SimCheck16(Bytes{'1', '2', '3', '4', '5', '6', '7', '8', '9'}), 0x1D8F);
  EXPECT_EQ(sim::SimCheck16(Bytes{0x01, 0x00}), 0x4A12);
  EXPECT_EQ(sim::SimCheck16(Bytes{0x01, 0x01}), 0x4A13);
  EXPECT_EQ(sim::SimCheck16(Bytes(8, 0xFF)), 0x360F);
  EXPECT_EQ(sim::SimCheck16(Bytes{}), 0);
  for (int b = 0; b < 256; ++b) EXPECT_EQ(sim::SimCheck16(Bytes{static_cast<u8>(b)}), b);
  std::mt19937 rng(7);
  for (const std::size_t n : {2, 3, 10, 12, 90, 255, 256, 257, 1034, 4106, 4186}) {
    Bytes v(n);
    for (auto& b : v) b = static_cast<u8>(rng());
    EXPECT_EQ(CalcCheck16(v), sim::SimCheck16(v)) << n;
  }
}

class SimExchange : public ::testing::Test {
 protected:
  // Sends the last frame our builder wrote and returns the replies as our receive path sees them.
  std::vector<Bytes> Exchange() {
    const sim::UnitOutput out = unit.Receive(w.Port.frames.back());
    hungUp = out.HangUp;
    writes = out.Writes.size();
    std::vector<Bytes> packets;
    for (const Bytes& frame : ReceiveChunks(*rx, out.Writes)) {
      Bytes p(PacketSlotSize);
      const DecodeResult d = DecodeFrame(frame, p);
      p.resize(d.Status == ResOk ? d.Length : 0);
      packets.push_back(p);
    }
    return packets;
  }
  u8 StatusOf(const std::vector<Bytes>& replies) {
    EXPECT_EQ(replies.size(), 1u);
    return replies.empty() || replies[0].empty() ? 0xFF : VerifyReply(replies[0]);
  }

  World w;
  sim::SimUnit unit{sim::UnitConfig{}};
  std::unique_ptr<UnitBuffers> rx = std::make_unique<UnitBuffers>();
  bool hungUp = false;
  std::size_t writes = 0;
};

TEST_F(SimExchange, IdentificationReply) {
  SendDeviceProbe(w.Target());
  const auto replies = Exchange();
  ASSERT_EQ(replies.size(), 1u);
  const Bytes& p = replies[0];
  ASSERT_GE(p.size(), 30u);
  EXPECT_TRUE(std::equal(IdentTag.begin(), IdentTag.end(), p.begin()));
  const u16 n = GetLe16(p, 6);
  EXPECT_EQ(std::string(p.begin() + 28, p.begin() + 28 + n + 1), unit.IdText());
  EXPECT_EQ(unit.IdText().substr(0, 13), "QX740VRD V2.4");
}

TEST_F(SimExchange, ChipDataIsUnmaskedAndChecked) {
  w.Model->ChipName = "SA32B1TEST";
  w.Model->Params.DownloadSize = 0x4000;
  SendChipDataCmd(w.Target(0, StepDownloadChipData), 0xBEEF);
  EXPECT_EQ(StatusOf(Exchange()), 6);
  EXPECT_TRUE(unit.Stats().SettingsValid);
  EXPECT_EQ(unit.Stats().ChipName, "SA32B1TEST");
  EXPECT_EQ(unit.Stats().DownloadSize, 0x4000u);
}

TEST_F(SimExchange, MemoryOperationsAgree) {
  w.Model->Params.DownloadSize = 0x2000;
  for (std::size_t i = 0; i < 0x2000; ++i) w.Model->MainFlashImage[i] = static_cast<u8>(i * 3);
  SendChipCommand(w.Target(0, StepBlankCheck), CmdChipOperation, OpBlankCheck);
  EXPECT_EQ(StatusOf(Exchange()), 6);
  for (u16 b : {u16{0}, u16{4}}) {
    SendProgramMainBlockCmd(w.Target(0, StepProgramMain), b, 0);
    EXPECT_EQ(StatusOf(Exchange()), 6);
  }
  SendChipCommand(w.Target(0, StepBlankCheck), CmdChipOperation, OpBlankCheck);
  EXPECT_EQ(StatusOf(Exchange()), 21);
  SendChipCommand(w.Target(0, StepVerifyMain), CmdReadMainBlock, 4);
  auto replies = Exchange();
  ASSERT_EQ(replies.size(), 1u);
  ASSERT_EQ(replies[0].size(), 4106u);  // a data reply of one block, not a status
  EXPECT_EQ(VerifyReply(replies[0]), ResOk);
  EXPECT_TRUE(std::equal(replies[0].begin() + 8, replies[0].begin() + 8 + 4096, w.Model->MainFlashImage.begin() + 4096));
  SendChipCommand(w.Target(0, StepReadChecksum), CmdChipOperation, OpReadChecksum);
  replies = Exchange();
  ASSERT_EQ(replies.size(), 1u);
  ASSERT_EQ(replies[0].size(), 16u);  // CRC16 and ACC32 behind the header
  EXPECT_EQ(GetLe16(replies[0], 8), CalcCheck16(w.Model->MainFlashImage, 0, 0x1FFF));
  EXPECT_EQ(GetLe32(replies[0], 10), CalcAcc32(w.Model->MainFlashImage, 0, 0x1FFF));
  SendChipCommand(w.Target(0, StepErase), CmdChipOperation, OpErase);
  EXPECT_EQ(StatusOf(Exchange()), 6);
  SendChipCommand(w.Target(0, StepBlankCheck), CmdChipOperation, OpBlankCheck);
  EXPECT_EQ(StatusOf(Exchange()), 6);
}

TEST_F(SimExchange, OptionWriteIsAcceptedWithItsShortCheck) {
  w.Model->OptionImage[5] = 0x42;
  SendWriteOptionCmd(w.Target(0, StepWriteOption));
  EXPECT_EQ(StatusOf(Exchange()), 6);
  EXPECT_EQ(unit.Option()[5], 0x42);
  EXPECT_EQ(unit.Stats().BadFrames, 0u);
}

TEST_F(SimExchange, FaultsAsOurReceivePathSeesThem) {
  using sim::FaultKind;
  struct Case {
    FaultKind kind;
    u8 code;
    u8 expected;  // VerifyReply of the reply, 0xFF when it does not decode
  };
  for (const Case c : {Case{FaultKind::Status, 19, 19}, Case{FaultKind::BadCheck, 0, ResCheckMismatch},
                       Case{FaultKind::Garbage, 0, 6}, Case{FaultKind::StrayEnd, 0, 6}, Case{FaultKind::Split, 3, 6}}) {
    unit.Config().Faults = {{c.kind, unit.Stats().Requests + 1, c.code}};
    SendChipCommand(w.Target(0, StepErase), CmdChipOperation, OpErase);
    EXPECT_EQ(StatusOf(Exchange()), c.expected) << static_cast<int>(c.kind);
  }
  EXPECT_EQ(writes, 3u);

  unit.Config().Faults = {{FaultKind::BadEscape, 0, 0}};
  SendChipCommand(w.Target(0, StepErase), CmdChipOperation, OpErase);
  auto replies = Exchange();
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_TRUE(replies[0].empty());  // DecodeFrame gave 32

  unit.Config().Faults = {{FaultKind::Silence, 0, 0}};
  SendChipCommand(w.Target(0, StepErase), CmdChipOperation, OpErase);
  EXPECT_TRUE(Exchange().empty());
  unit.Config().Faults = {{FaultKind::HangUp, 0, 0}};
  SendChipCommand(w.Target(0, StepErase), CmdChipOperation, OpErase);
  EXPECT_TRUE(Exchange().empty());
  EXPECT_TRUE(hungUp);
}

TEST_F(SimExchange, FirmwareUpgradeCarriesTheImage) {
  auto& fw = w.State->Firmware;
  for (std::size_t i = 0; i < fw.Image.size(); ++i) fw.Image[i] = static_cast<u8>(i * 5 + (i >> 9));
  for (u16 b = 0; b < 32; ++b) {
    SendFirmwareBlockCmd(w.Target(), b);
    ASSERT_EQ(StatusOf(Exchange()), 6) << b;
  }
  SendFirmwareEndCmd(w.Target());
  EXPECT_TRUE(Exchange().empty());
  EXPECT_TRUE(unit.Stats().FirmwareEnded);
  // Every fourth byte is not sent.
  for (std::size_t i = 0; i < fw.Image.size(); ++i) {
    if (i % 4 != 3) {
      ASSERT_EQ(unit.FirmwareImage()[i], fw.Image[i]) << i;
    }
  }
}

TEST_F(SimExchange, RestartReportsAStandAloneRun) {
  unit.Config().Faults = {};
  w.Model->Params.DownloadSize = 8192;
  SendChipCommand(w.Target(0, StepBlankCheck), CmdChipOperation, OpBlankCheck);
  Exchange();
  SendRestartCmd(w.Target());
  const auto reports = Exchange();
  ASSERT_GE(reports.size(), 5u);
  for (const Bytes& r : reports) {
    ASSERT_GE(r.size(), 8u);
    EXPECT_EQ(r[0], PktProgressReport);
    u8 sum = 0;
    for (int i = 0; i < 8; ++i) sum = static_cast<u8>(sum + r[i]);
    EXPECT_EQ(sum, 0);
  }
  EXPECT_EQ(reports.back()[1], 0xF0);
  EXPECT_EQ(reports.back()[2], 6);
}

TEST_F(SimExchange, BootLoaderAndOldFirmwareTexts) {
  sim::UnitConfig boot;
  boot.BootLoader = true;
  EXPECT_EQ(sim::SimUnit(boot).IdText().substr(0, 12), "Nolbin200XXX");
  sim::UnitConfig old;
  old.OldFirmware = true;
  EXPECT_EQ(sim::SimUnit(old).IdText().substr(0, 13), "QX740VRD V1.0");
}

// Reads what arrives within a short while.
Bytes ReadFor(int fd, int ms) {
  Bytes got;
  std::array<u8, 4096> buf{};
  pollfd p{fd, POLLIN, 0};
  while (::poll(&p, 1, ms) > 0) {
    const ssize_t n = ::read(fd, buf.data(), buf.size());
    if (n <= 0) break;
    got.insert(got.end(), buf.begin(), buf.begin() + n);
  }
  return got;
}

TEST(SimPty, AnswersOnItsTerminalsAndHangsUp) {
  sim::UnitSimulator simulator(std::vector<sim::UnitConfig>(2));
  TempDir dir;
  ASSERT_TRUE(simulator.WriteConfigFile(dir.Dir()));
  std::ifstream ini(dir.Dir() + "ConfigQlt.ini", std::ios::binary);
  std::stringstream text;
  text << ini.rdbuf();
  EXPECT_EQ(text.str(), "[Connection]\r\nTOTDEV=2\r\nDEV1=" + simulator.Path(0) + "\r\nDEV2=" + simulator.Path(1) + "\r\n");

  const int fd = ::open(simulator.Path(1).c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  termios t{};
  ::tcgetattr(fd, &t);
  ::cfmakeraw(&t);
  ::tcsetattr(fd, TCSANOW, &t);
  ASSERT_EQ(::write(fd, DeviceProbeFrame.data(), DeviceProbeFrame.size()), 10);
  auto unit = std::make_unique<UnitBuffers>();
  const auto frames = ReceiveChunks(*unit, {ReadFor(fd, 500)});
  ASSERT_EQ(frames.size(), 1u);
  Bytes p(PacketSlotSize);
  EXPECT_EQ(DecodeFrame(frames[0], p).Status, ResOk);
  EXPECT_EQ(simulator.Stats(1).Probes, 1u);
  EXPECT_EQ(simulator.Stats(0).Requests, 0u);

  simulator.HangUp(1);
  std::array<u8, 16> buf{};
  pollfd pf{fd, POLLIN, 0};
  ASSERT_GT(::poll(&pf, 1, 1000), 0);
  EXPECT_LE(::read(fd, buf.data(), buf.size()), 0);  // hang-up: end of file or EIO
  ::close(fd);
  simulator.Stop();
}

}  // namespace
}  // namespace qx::wiretest
