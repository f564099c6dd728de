#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ostream>

#include "programmer/CommandCodes.h"
#include "programmer/FirmwareUpgrade.h"
#include "programmer/Identification.h"
#include "tests/programmer/session_fixture.h"
#include "tests/support/CaseName.h"

namespace qx::test {
namespace {

std::vector<u8> IdPacket(const std::string& text, int announced = -1) {
  std::vector<u8> p(28 + text.size(), 0);
  p[0] = 0xA3;
  p[1] = 0xA5;
  p[2] = 0x35;
  std::copy(text.begin(), text.end(), p.begin() + 28);
  PutLe16(p, 6, static_cast<u16>(announced >= 0 ? announced : static_cast<int>(text.size()) - 1));
  return p;
}

class Link : public ::testing::Test {
 protected:
  void SetUp() override {
    for (auto& u : w.s->Unit) u.Linked = 0;
  }
  void LoadFirmware(const char* version) {
    auto& fw = w.wire->Firmware;
    fw.FirmwareLoaded = 1;
    fw.FirmwareVersion.fill(0);
    std::memcpy(fw.FirmwareVersion.data(), version, std::strlen(version));
    fw.FirmwareBaseAddress = 0x1000;
    fw.FirmwareEndAddress = 0x1400;
  }
  SessionWorld w;
};

struct VersionCase {
  const char* reply;
  const char* loaded;
  bool upgrade;
};
// Cases print as what they vary, not as their bytes.
void PrintTo(const VersionCase& c, std::ostream* os) {
  *os << test::CaseName(c.reply) << "_carrying_" << (*c.loaded != 0 ? test::CaseName(c.loaded) : "none");
}

class LinkVersions : public Link, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(LinkVersions, LinksAndUpgradesOnlyOlderFirmware) {
  const auto& c = GetParam();
  if (*c.loaded) LoadFirmware(c.loaded);
  w.Feed(4, Framed(IdPacket(c.reply)));
  EXPECT_EQ(w.U(4).Linked, 1);
  EXPECT_EQ(w.UnitTexts(4).front(), std::string("Find Device: ") + c.reply + "!");
  EXPECT_EQ(w.op.captions.back(), c.reply);
  EXPECT_EQ(w.U(4).StepState, c.upgrade ? StepFirmwareUpgrade : StepIdle);
  // A unit still to be upgraded is not counted as linked yet.
  EXPECT_EQ(w.s->LinkedCount, c.upgrade ? 0 : 1);
  EXPECT_EQ(w.ports[4].packets.size(), c.upgrade ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Versions, LinkVersions,
                         ::testing::Values(VersionCase{"QX740VRD V2.3,SN", "V2.4", true},
                                           VersionCase{"QX740VRD V2.4,SN", "V2.4", false},
                                           VersionCase{"QX740VRD V2.5,SN", "V2.4", false},
                                           VersionCase{"QX740VRD V10", "V9", true},
                                           VersionCase{"QX740VRD-noversion", "V2.4", true},
                                           VersionCase{"QX740VRD V1.0", "", false}));

TEST_F(Link, WrongModelControlByteOrNoTagIsNoDevice) {
  const std::vector<std::vector<u8>> replies = {IdPacket("QX740VRX V2.4"), IdPacket("QX740\rRD V2.4"),
                                                IdPacket("QX740VRD", 0), ReplyPacket(0x06, std::vector<u8>{6, 0})};
  for (const auto& r : replies) w.Feed(1, Framed(r));
  EXPECT_EQ(w.UnitTexts(1), std::vector<std::string>(4, "No Dvice Found!"));
  EXPECT_EQ(w.U(1).Linked, 0);
  EXPECT_EQ(w.op.captions.back(), "No Dvice Found!");
}

TEST_F(Link, BootLoaderGoesToTheUpgradeOrStaysSilentWithoutFirmware) {
  w.Feed(0, Framed(IdPacket("Nolbin200XXX boot")));
  EXPECT_TRUE(w.Lines().empty());
  EXPECT_EQ(w.U(0).Linked, 0);
  LoadFirmware("V2.4");
  w.Feed(0, Framed(IdPacket("Nolbin200XXX boot")));
  EXPECT_EQ(w.U(0).Linked, 1);
  EXPECT_EQ(w.U(0).StepState, StepFirmwareUpgrade);
  EXPECT_EQ(w.s->LinkedCount, 0);
  EXPECT_EQ(w.ports[0].packets.at(0)[0], CmdFirmwareBlock);
}

TEST_F(Link, AUnitWhoseUpgradeFailedIsNotUpgradedAgainByItself) {
  LoadFirmware("V2.4");
  w.Feed(3, Framed(IdPacket("QX740VRD V2.3,SN")));
  w.Feed(5, Framed(IdPacket("Nolbin200XXX boot")));
  w.Status(3, 0x2C);
  w.Status(5, 0x2C);
  const std::size_t sent3 = w.ports[3].packets.size(), sent5 = w.ports[5].packets.size();
  // The search after the upgrades: the old unit works on with its firmware and counts as
  // linked; the boot loader has nothing to work with and stays unlinked.
  for (u8 k : {u8{3}, u8{5}}) w.U(k).Linked = 0;
  w.s->LinkedCount = 0;
  w.Feed(3, Framed(IdPacket("QX740VRD V2.3,SN")));
  w.Feed(5, Framed(IdPacket("Nolbin200XXX boot")));
  EXPECT_EQ(w.U(3).Linked, 1);
  EXPECT_EQ(w.U(3).StepState, StepIdle);
  EXPECT_EQ(w.U(5).Linked, 0);
  EXPECT_EQ(w.s->LinkedCount, 1);
  EXPECT_EQ(w.ports[3].packets.size(), sent3);
  EXPECT_EQ(w.ports[5].packets.size(), sent5);
  // The operator's upgrade command still upgrades it; a good upgrade clears the mark.
  StartFirmwareUpgrade(*w.s, 3);
  EXPECT_EQ(w.ports[3].packets.size(), sent3 + 1);
  w.Status(3, 6);
  w.Status(3, 6);
  EXPECT_EQ(w.U(3).UpgradeFailed, 0);
  EXPECT_TRUE(w.op.Ends(3).back().ok);
}

TEST_F(Link, ABootLoaderWhoseUpgradeFailedSaysSoAtEverySearch) {
  LoadFirmware("V2.4");
  w.Feed(5, Framed(IdPacket("Nolbin200XXX boot")));
  w.Status(5, 0x2C);
  const std::size_t sent = w.ports[5].packets.size();
  const std::string line = "still reports \"Nolbin200XXX boot\" after its upgrade: not upgraded again in this run!";
  for (int search = 1; search <= 2; ++search) {
    w.U(5).Linked = 0;
    const std::size_t lines = w.UnitTexts(5).size();
    w.Feed(5, Framed(IdPacket("Nolbin200XXX boot")));
    ASSERT_EQ(w.UnitTexts(5).size(), lines + 1) << search;
    EXPECT_EQ(w.UnitTexts(5).back(), line);
    EXPECT_EQ(w.U(5).Linked, 0);
    EXPECT_EQ(w.ports[5].packets.size(), sent);
  }
}

TEST_F(Link, ProgressReportsAndIgnoredFramesDoNotLink) {
  const std::vector<u8> fa = {0xFA, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  w.Feed(2, Framed(fa));
  const std::vector<u8> report = {0xFD, 0x30, 6, 0, 0, 0, 0, static_cast<u8>(0x200 - 0xFD - 0x30 - 6), 0, 0};
  w.Feed(2, Framed(report));
  EXPECT_EQ(w.UnitTexts(2), (std::vector<std::string>{"Do Chip Erasing...."}));
  EXPECT_EQ(w.U(2).Linked, 0);
  const std::vector<u8> broken = {0xC0, 0xA3, 0xDB, 0x00, 0xC0};
  w.Feed(2, broken);
  EXPECT_EQ(w.Lines().size(), 1u);
}

TEST_F(Link, AReplyWhoseFrameEndsInAnOpenEscapeIsIgnored) {
  // The byte the escape stood for was lost on the line: the frame does not decode.
  std::vector<u8> frame = Framed(IdPacket("QX740VRD V2.4,SN"));
  const auto closing = std::find(frame.begin() + 1, frame.end(), u8{0xC0});
  frame.insert(closing, u8{0xDB});
  w.Feed(6, frame);
  EXPECT_EQ(w.U(6).Linked, 0);
  EXPECT_EQ(w.s->LinkedCount, 0);
  EXPECT_TRUE(w.Lines().empty());
}

TEST_F(Link, TheCheckWordIsNeverPartOfTheIdText) {
  // The reply announces two bytes more than its text, and its check word reads "'T".
  const std::string text = "QX740VRD V2.4,Saaa";
  std::vector<u8> reply = IdPacket(text, static_cast<int>(text.size()) + 1);
  const u16 check = CalcCheck16(reply);
  ASSERT_EQ(check, 0x5427);
  reply.push_back(static_cast<u8>(check & 0xFF));
  reply.push_back(static_cast<u8>(check >> 8));
  w.Feed(8, Framed(reply));
  EXPECT_EQ(w.U(8).Linked, 1);
  EXPECT_EQ(w.UnitTexts(8).back(), "Find Device: " + text + "!");
  EXPECT_EQ(w.op.captions.back(), text);
}

TEST(IdentificationText, BoundedByTheDecodedReplyAndTheBuffer) {
  // Announces 600 bytes but carries 12.
  const auto shortReply = IdPacket("QX740VRD V3", 600);
  IdTextBuffer b = IdTemplate(ModelTemplate);
  EXPECT_EQ(CheckDeviceIdVersion(shortReply, b, IdTextAt, std::vector<u8>(8, 0)), IdentOk);
  EXPECT_EQ(IdText(b), "QX740VRD V3");
  // A 300-character text is cut to 127 characters.
  const auto longReply = IdPacket("QX740VRD V3," + std::string(300, 'x'));
  b = IdTemplate(ModelTemplate);
  EXPECT_EQ(CheckDeviceIdVersion(longReply, b, IdTextAt, std::vector<u8>(8, 0)), IdentOk);
  EXPECT_EQ(IdText(b).size(), 127u);
  // Shorter than the text offset: nothing to compare.
  const std::vector<u8> tiny = {0xA3, 0xA5, 0x35, 0, 0, 0, 5, 0, 1, 2};
  b = IdTemplate(ModelTemplate);
  EXPECT_EQ(CheckDeviceIdVersion(tiny, b, IdTextAt, std::vector<u8>(8, 0)), IdentMismatch);
}

}  // namespace
}  // namespace qx::test
