// Framing: encoder bytes, the frame extractor's alignment, the decoder's limits, the reply
// check and the receive buffer's overflow rule.
#include <gtest/gtest.h>

#include <random>
#include <ostream>

#include "base/ByteOrder.h"
#include "images/Checksums.h"
#include "tests/programmer/wire_support.h"
#include "tests/unitsim/SimSlip.h"

namespace qx::wiretest {
namespace {

const Bytes kBody = {0x06, 0x01, 0x02, 0x03, 0x04, 0x05, 0x02, 0x00, 0x06, 0x00};


const Bytes C0 = {0xC0};
const Bytes FF5 = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

TEST(WireEncode, TenPlainBytesGiveSeventeen) {
  const Bytes frame = Encode(kBody);
  EXPECT_EQ(frame, Cat({C0, kBody, C0, FF5}));
  EXPECT_EQ(frame.size(), 17u);
}

TEST(WireEncode, EscapesDelimiterAndEscapeAnywhere) {
  const Bytes packet = {0xC0, 0xDB, 0x41, 0xDC, 0xDD, 0xC0};
  const Bytes frame = Encode(packet);
  EXPECT_EQ(frame, Cat({C0, {0xDB, 0xDC, 0xDB, 0xDD, 0x41, 0xDC, 0xDD, 0xDB, 0xDC}, C0, FF5}));
  Bytes out(PacketSlotSize);
  const DecodeResult d = DecodeFrame(Bytes(frame.begin(), frame.end() - 5), out);
  EXPECT_EQ(d.Status, ResPacketError);  // six bytes are fewer than a header
  EXPECT_EQ(d.Length, 6u);
  EXPECT_TRUE(std::equal(packet.begin(), packet.end(), out.begin()));
}

TEST(WireEncode, RefusesOutputThatCannotHoldTheWorstCase) {
  Bytes small(2 * kBody.size() + 6);
  EXPECT_EQ(EncodeFrame(kBody, small), 0u);
}

struct ExtractCase {
  const char* name;
  std::vector<Bytes> chunks;
  std::vector<Bytes> frames;
  u16 left;  // RxCount after the last chunk
};
// Cases print as their name, not as their bytes.
void PrintTo(const ExtractCase& c, std::ostream* os) { *os << c.name; }

class WireExtract : public ::testing::TestWithParam<ExtractCase> {};

TEST_P(WireExtract, FramesAndLeftover) {
  const ExtractCase& c = GetParam();
  auto unit = std::make_unique<UnitBuffers>();
  EXPECT_EQ(ReceiveChunks(*unit, c.chunks), c.frames);
  EXPECT_EQ(unit->RxCount, c.left);
}

const Bytes kP2 = {0x95, 0x11, 0x22, 0x33, 0x44, 0x55, 0x02, 0x00, 0x06, 0x00};
const Bytes kGarbage = {0x12, 0x34, 0x56};

INSTANTIATE_TEST_SUITE_P(
    Cases, WireExtract,
    ::testing::Values(
        ExtractCase{"FillerAroundOneFrame", {Cat({{0xFF, 0xFF}, C0, kBody, C0, FF5})}, {Cat({C0, kBody, C0})}, 5},
        ExtractCase{"DoubledOpening", {Cat({C0, C0, kBody, C0})}, {Cat({C0, kBody, C0})}, 0},
        ExtractCase{"RunOfOpenings", {Cat({C0, C0, C0, C0, kBody, C0})}, {Cat({C0, kBody, C0})}, 0},
        ExtractCase{"TwoFramesOneChunk",
                    {Cat({C0, kBody, C0, FF5, C0, kP2, C0, FF5})},
                    {Cat({C0, kBody, C0}), Cat({C0, kP2, C0})},
                    5},
        ExtractCase{"SplitOverChunks",
                    {Cat({FF5, C0, {0x06, 0x01, 0x02}}), {0x03, 0x04, 0x05}, Cat({{0x02, 0x00, 0x06, 0x00}, C0})},
                    {Cat({C0, kBody, C0})},
                    0},
        ExtractCase{"OpeningIsLastByte", {Cat({FF5, C0})}, {}, 6},
        ExtractCase{"FillerAlone", {FF5}, {}, 5},
        // A stray delimiter among the filler costs nothing.
        ExtractCase{"StrayDelimiterInFiller",
                    {Cat({C0, kBody, C0, {0xFF, 0xFF}, C0, {0xFF, 0xFF, 0xFF}, C0, kP2, C0, FF5})},
                    {Cat({C0, kBody, C0}), Cat({C0, kP2, C0})},
                    5},
        // Opened in the middle of a frame: its closing delimiter and filler are not a frame.
        ExtractCase{"OpenedMidFrame",
                    {Cat({{0x44, 0x55, 0x02}, C0, FF5, C0, kP2, C0, FF5, C0, kBody, C0})},
                    {Cat({C0, kP2, C0}), Cat({C0, kBody, C0})},
                    0},
        // Garbage with a delimiter costs the one frame it spoils, never the ones after it.
        ExtractCase{"GarbageWithDelimiter",
                    {Cat({C0, kGarbage, C0, kP2, C0, FF5, C0, kBody, C0, FF5, C0, kP2, C0})},
                    {Cat({C0, kGarbage, C0}), Cat({C0, kBody, C0}), Cat({C0, kP2, C0})},
                    0}),
    [](const auto& p) { return std::string(p.param.name); });

struct DecodeCase {
  const char* name;
  Bytes frame;
  u8 status;
  u16 length;
};
// Cases print as their name, not as their bytes.
void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }

class WireDecode : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(WireDecode, StatusAndLength) {
  Bytes out(PacketSlotSize);
  const DecodeResult d = DecodeFrame(GetParam().frame, out);
  EXPECT_EQ(d.Status, GetParam().status);
  EXPECT_EQ(d.Length, GetParam().length);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WireDecode,
    ::testing::Values(DecodeCase{"SevenBytes", {0xC0, 1, 2, 3, 4, 5, 6, 7, 0xC0}, ResPacketError, 7},
                      DecodeCase{"EightBytes", {0xC0, 1, 2, 3, 4, 5, 6, 7, 8, 0xC0}, ResOk, 8},
                      DecodeCase{"BadEscape", {0xC0, 0xDB, 0x41, 1, 2, 3, 4, 5, 6, 7, 8, 0xC0}, ResPacketError, 0},
                      DecodeCase{"NoClosing", {0xC0, 1, 2, 3, 4, 5, 6, 7, 8}, ResPacketError, 0},
                      // An escape left open by the closing delimiter is a bad escape too.
                      DecodeCase{"EscapeBeforeClosing", {0xC0, 1, 2, 3, 4, 5, 6, 7, 8, 0xDB, 0xC0}, ResPacketError, 0},
                      DecodeCase{"NoDelimiterAtAll", {1, 2, 3, 4, 5, 6, 7, 8}, ResPacketError, 0},
                      DecodeCase{"DoubledOpening", {0xC0, 0xC0, 1, 2, 3, 4, 5, 6, 7, 0xDB, 0xDC, 0xC0}, ResOk, 8}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(WireDecodeLimit, FrameLongerThanTheSlotIsAPacketErrorAndWritesNothingPast) {
  Bytes frame = {0xC0};
  frame.insert(frame.end(), PacketSlotSize + 1, 0x41);
  frame.push_back(0xC0);
  Bytes out(PacketSlotSize + 16, 0xEE);
  const DecodeResult d = DecodeFrame(frame, std::span<u8>(out).first(PacketSlotSize));
  EXPECT_EQ(d.Status, ResPacketError);
  EXPECT_EQ(d.Length, 0u);
  EXPECT_TRUE(std::all_of(out.begin() + PacketSlotSize, out.end(), [](u8 b) { return b == 0xEE; }));

  frame.erase(frame.begin() + 1);  // exactly the slot: still fine
  EXPECT_EQ(DecodeFrame(frame, std::span<u8>(out).first(PacketSlotSize)).Status, ResOk);
}

TEST(WireVerify, StatusDataAndMismatch) {
  const Bytes status = MakePacket(0x06, Bytes{21, 0});
  EXPECT_EQ(VerifyReply(status), 21);
  const Bytes data = MakePacket(0x00, Bytes(4096, 0xC0));
  EXPECT_EQ(VerifyReply(data), ResOk);
  for (std::size_t at : {std::size_t{0}, std::size_t{8}, data.size() - 1}) {
    Bytes bad = data;
    bad[at] ^= 0x01;
    EXPECT_EQ(VerifyReply(bad), ResCheckMismatch) << at;
  }
  Bytes badStatus = status;
  badStatus.back() ^= 0x80;
  EXPECT_EQ(VerifyReply(badStatus), ResCheckMismatch);
}

TEST(WireVerify, DecodedLengthDecidesWhereTheCheckLies) {
  // PayloadLength says 2, but four payload bytes arrived: the check is still the last word.
  Bytes p = MakePacket(0x06, Bytes{6, 0, 9, 9});
  PutLe16(p, 6, 2);
  PutLe16(p, p.size() - 2, CalcCheck16(std::span<const u8>(p).first(p.size() - 2)));
  EXPECT_EQ(VerifyReply(p), 6);
  // Too short for a header, or a status reply without its status byte.
  EXPECT_EQ(VerifyReply(Bytes(7, 0)), ResPacketError);
  EXPECT_EQ(VerifyReply(Bytes(8, 0)), ResPacketError);
}

TEST(WireRxBuffer, WorstCaseReplyFitsWithFillerAround) {
  const Bytes packet = MakePacket(0xC0, Bytes(4096, 0xC0));
  const Bytes frame = Encode(packet);
  Bytes stream = Cat({FF5, frame});
  std::vector<Bytes> chunks;
  for (std::size_t at = 0; at < stream.size(); at += 2048)
    chunks.emplace_back(stream.begin() + at, stream.begin() + std::min(stream.size(), at + 2048));
  auto unit = std::make_unique<UnitBuffers>();
  const auto frames = ReceiveChunks(*unit, chunks);
  ASSERT_EQ(frames.size(), 1u);
  Bytes out(PacketSlotSize);
  const DecodeResult d = DecodeFrame(frames[0], out);
  ASSERT_EQ(d.Status, ResOk);
  out.resize(d.Length);
  EXPECT_EQ(out, packet);
}

TEST(WireRxBuffer, OverflowDropsWhatPrecedesTheOpenFrame) {
  auto unit = std::make_unique<UnitBuffers>();
  // Junk without delimiters stays in the buffer (the scan keeps where it began) until full.
  const Bytes junk(RxBufferSize - 100, 0x55);
  const Bytes head = Cat({C0, {0x06, 0x01, 0x02}});
  EXPECT_TRUE(ReceiveChunks(*unit, {junk, head}).empty());
  EXPECT_EQ(unit->RxCount, junk.size() + head.size());
  const Bytes tail = Cat({{0x03, 0x04, 0x05, 0x02, 0x00, 0x06, 0x00}, C0, Bytes(200, 0xFF)});
  EXPECT_EQ(AppendRxChunk(*unit, tail), junk.size());
  EXPECT_EQ(ReceiveChunks(*unit, {}), std::vector<Bytes>{});
  u16 pos = 0, length = 0;
  ASSERT_TRUE(ExtractRxFrame(*unit, pos, length));
  EXPECT_EQ(Bytes(unit->RxFrameBuf.begin(), unit->RxFrameBuf.begin() + length), Cat({C0, kBody, C0}));
}

TEST(WireRxBuffer, ChunkLargerThanTheBufferKeepsItsNewestBytes) {
  auto unit = std::make_unique<UnitBuffers>();
  Bytes chunk(RxBufferSize + 50, 0x55);
  chunk.back() = 0x77;
  EXPECT_EQ(AppendRxChunk(*unit, chunk), 50u);
  EXPECT_EQ(unit->RxCount, RxBufferSize);
  EXPECT_EQ(unit->RxRawBuf.back(), 0x77);
}

// Random packets rich in delimiter and escape bytes, through both codecs in both directions.
TEST(WireCodecs, OursAndTheSimulatorsAgree) {
  std::mt19937 rng(4711);
  const u8 alphabet[] = {0xC0, 0xDB, 0xDC, 0xDD, 0xFF, 0x00, 0x41};
  auto unit = std::make_unique<UnitBuffers>();
  sim::SlipDecoder simDecoder;
  for (int round = 0; round < 200; ++round) {
    Bytes packet(8 + rng() % 4200);
    for (u8& b : packet) b = alphabet[rng() % std::size(alphabet)];

    const auto simFrames = simDecoder.Feed(Encode(packet));
    ASSERT_EQ(simFrames.size(), 1u);
    EXPECT_FALSE(simFrames[0].BadEscape);
    EXPECT_EQ(simFrames[0].Packet, packet);

    const auto ours = ReceiveChunks(*unit, {sim::SlipEncode(packet)});
    ASSERT_EQ(ours.size(), 1u) << round;
    Bytes out(PacketSlotSize);
    const DecodeResult d = DecodeFrame(ours[0], out);
    ASSERT_EQ(d.Status, ResOk);
    out.resize(d.Length);
    EXPECT_EQ(out, packet);
  }
}

}  // namespace
}  // namespace qx::wiretest
