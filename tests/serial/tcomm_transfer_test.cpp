#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "tests/serial/CommFixture.h"

namespace qx {
namespace {

using namespace std::chrono_literals;
using test::Pattern;

class TCommTransfer : public test::CommOnPty {};

TEST_F(TCommTransfer, BurstArrivesInOrderInChunksOfAtMost2048) {
  Open();
  const auto burst = Pattern(5000, 1);
  ASSERT_TRUE(pty.WriteAll(burst));
  ASSERT_TRUE(PumpUntil([&] { return events.received.size() >= burst.size(); }));
  PumpFor(30ms);
  EXPECT_EQ(events.received, burst);
  EXPECT_GE(events.chunks.size(), 3u);
  for (const auto n : events.chunks) {
    EXPECT_GE(n, 1u);
    EXPECT_LE(n, 2048u);
  }
}

// A handler that opens a box runs a nested event loop: chunks that arrive meanwhile, and
// those already waiting behind the handler's own, still reach the port in order.
TEST_F(TCommTransfer, ChunksStayInOrderWhenAHandlerRunsANestedLoop) {
  Open();
  const auto a = Pattern(100, 4), b = Pattern(100, 5), c = Pattern(100, 6), d = Pattern(100, 7);
  // Three reads wait together before anything is delivered.
  for (const auto* piece : {&a, &b, &c}) {
    ASSERT_TRUE(pty.WriteAll(*piece));
    std::this_thread::sleep_for(15ms);
  }
  bool nested = false;
  comm.OnReceiveData = [&](TComm&, std::span<const u8> data) {
    events.received.insert(events.received.end(), data.begin(), data.end());
    if (nested) return;
    nested = true;
    // As a modal box would: more bytes arrive while its loop serves the ports.
    ASSERT_TRUE(pty.WriteAll(d));
    std::this_thread::sleep_for(15ms);
    PumpFor(30ms);
  };
  ASSERT_TRUE(PumpUntil([&] { return events.received.size() >= 400; }));
  std::vector<u8> expected = a;
  for (const auto* piece : {&b, &c, &d}) expected.insert(expected.end(), piece->begin(), piece->end());
  EXPECT_EQ(events.received, expected);
}

TEST_F(TCommTransfer, LargeRequestReachesASlowReaderWholeBeforeTheNextRequest) {
  Open();
  const auto big = Pattern(64 * 1024, 2);
  const auto next = Pattern(300, 3);
  ASSERT_TRUE(comm.WriteData(big));
  ASSERT_TRUE(comm.WriteData(next));

  std::vector<u8> got;
  while (got.size() < big.size() + next.size()) {
    // Small reads with pauses keep the terminal's buffer full, so the writer must resume
    // partial writes.
    const auto piece = pty.ReadExactly(std::min<std::size_t>(700, big.size() + next.size() - got.size()), 5s);
    ASSERT_FALSE(piece.empty());
    got.insert(got.end(), piece.begin(), piece.end());
    std::this_thread::sleep_for(1ms);
  }
  std::vector<u8> expected = big;
  expected.insert(expected.end(), next.begin(), next.end());
  EXPECT_EQ(got, expected);
  EXPECT_TRUE(pty.ReadFor(30ms).empty());
}

TEST_F(TCommTransfer, OneSendDataEmptyPerEmptyingOfTheQueue) {
  Open();
  EXPECT_EQ(events.empties, 1);  // right after the open
  PumpFor(50ms);
  EXPECT_EQ(events.empties, 1);  // no write, no further notice

  for (int i = 0; i < 5; ++i) {
    const auto block = Pattern(1000, static_cast<u32>(10 + i));
    ASSERT_TRUE(comm.WriteData(block));
    EXPECT_EQ(pty.ReadExactly(block.size()), block);
    ASSERT_TRUE(PumpUntil([&] { return events.empties == 2 + i; }));
    PumpFor(20ms);
    EXPECT_EQ(events.empties, 2 + i);
  }
}

TEST_F(TCommTransfer, WritesBackToBackArriveInOrderWhetherWrittenAtOnceOrQueued) {
  Open();
  // Small ones go out at once; a large one fills the terminal and the rest waits behind it.
  std::vector<u8> expected;
  for (u32 i = 0; i < 40; ++i) {
    const auto block = Pattern(i % 7 == 3 ? 9000 : 1 + 37 * i, 20 + i);
    ASSERT_TRUE(comm.WriteData(block));
    expected.insert(expected.end(), block.begin(), block.end());
  }
  EXPECT_EQ(pty.ReadExactly(expected.size()), expected);
  EXPECT_TRUE(pty.ReadFor(30ms).empty());
}

TEST(TCommNotices, TheQueueEmptyingIsNotPostedWhileNobodyHandlesIt) {
  test::PseudoTerminal pty;
  ASSERT_TRUE(pty.ok());
  PumpedEventQueue queue;
  TComm comm(queue);
  comm.SetCommName(pty.SlavePath());
  ASSERT_NO_THROW(comm.OpenPort());
  const auto block = Pattern(4096, 5);
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(comm.WriteData(block));
    EXPECT_EQ(pty.ReadExactly(block.size()), block);
  }
  std::this_thread::sleep_for(30ms);
  EXPECT_EQ(queue.Pending(), 0u);

  int empties = 0;
  comm.OnSendDataEmpty = [&](TComm&) { ++empties; };
  ASSERT_TRUE(comm.WriteData(block));
  EXPECT_EQ(pty.ReadExactly(block.size()), block);
  EXPECT_TRUE(queue.PumpUntil([&] { return empties == 1; }, 10s));
}

TEST_F(TCommTransfer, WriteDataRefusesNothingToSendAndAClosedPort) {
  const std::vector<u8> bytes = {1, 2, 3};
  EXPECT_FALSE(comm.WriteData(bytes));
  Open();
  EXPECT_FALSE(comm.WriteData(std::span<const u8>()));
  EXPECT_TRUE(pty.ReadFor(30ms).empty());
  comm.ClosePort();
  EXPECT_FALSE(comm.WriteData(bytes));
}

TEST_F(TCommTransfer, RequestIsCopiedWhenQueued) {
  Open();
  std::vector<u8> buffer = Pattern(4096, 4);
  const std::vector<u8> sent = buffer;
  ASSERT_TRUE(comm.WriteData(buffer));
  std::fill(buffer.begin(), buffer.end(), u8{0xEE});
  EXPECT_EQ(pty.ReadExactly(sent.size()), sent);
}

}  // namespace
}  // namespace qx
