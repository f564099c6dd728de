#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "tests/serial/CommFixture.h"

namespace qx {
namespace {

using namespace std::chrono_literals;
using test::Pattern;
using test::PseudoTerminal;

class TCommLifetime : public test::CommOnPty {
 protected:
  // Waits until the threads have posted something the test has not pumped yet.
  bool WaitForUnpumpedEvent() {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (queue.Pending() == 0) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(1ms);
    }
    return true;
  }
};

TEST_F(TCommLifetime, ClosingTheFarEndGivesOneHangupTheHandlerClosesAndTheComponentOpensAgain) {
  comm.OnRequestHangup = [&](TComm& sender) {
    ++events.hangups;
    sender.ClosePort();
  };
  Open();
  // The writer is stuck on a full terminal buffer when the far end goes, so both threads
  // notice the hang-up.
  ASSERT_TRUE(comm.WriteData(Pattern(256 * 1024, 5)));
  std::this_thread::sleep_for(20ms);
  pty.CloseMaster();
  ASSERT_TRUE(PumpUntil([&] { return events.hangups >= 1; }));
  PumpFor(100ms);
  EXPECT_EQ(events.hangups, 1);
  EXPECT_FALSE(comm.IsOpen());

  PseudoTerminal next;
  ASSERT_TRUE(next.ok());
  comm.SetCommName(next.SlavePath());
  ASSERT_NO_THROW(comm.OpenPort());
  const std::vector<u8> hello = {'h', 'i'};
  ASSERT_TRUE(comm.WriteData(hello));
  EXPECT_EQ(next.ReadExactly(hello.size()), hello);
  ASSERT_TRUE(next.WriteAll(hello));
  ASSERT_TRUE(PumpUntil([&] { return events.received.size() >= 2; }));
  EXPECT_EQ(events.received, hello);
}

TEST_F(TCommLifetime, HangupIsReportedOnceWhenTheOwnerDoesNotCloseAtOnce) {
  Open();
  pty.CloseMaster();
  ASSERT_TRUE(PumpUntil([&] { return events.hangups >= 1; }));
  // The writer now meets the dead line too; that is not a second hang-up.
  (void)comm.WriteData(Pattern(100, 6));
  PumpFor(100ms);
  EXPECT_EQ(events.hangups, 1);
  EXPECT_TRUE(comm.IsOpen());
  comm.ClosePort();
  EXPECT_FALSE(comm.IsOpen());
}

TEST_F(TCommLifetime, ClosePortFromAReceiveHandlerStopsEverything) {
  comm.OnReceiveData = [&](TComm& sender, std::span<const u8> data) {
    events.received.insert(events.received.end(), data.begin(), data.end());
    sender.ClosePort();
  };
  Open();
  ASSERT_TRUE(pty.WriteAll(Pattern(100, 7)));
  ASSERT_TRUE(PumpUntil([&] { return !comm.IsOpen(); }));
  const auto firstChunk = events.received.size();
  (void)pty.WriteAll(Pattern(100, 8), 100ms);  // the slave is closed: the bytes go nowhere
  PumpFor(50ms);
  EXPECT_EQ(events.received.size(), firstChunk);
}

TEST_F(TCommLifetime, BytesPostedBeforeACloseNeverJoinTheNextSession) {
  Open();
  const std::vector<u8> stale = {'o', 'l', 'd'};
  ASSERT_TRUE(pty.WriteAll(stale));
  ASSERT_TRUE(WaitForUnpumpedEvent());
  comm.ClosePort();
  EXPECT_GE(queue.Pump(), 1u);
  EXPECT_TRUE(events.received.empty());
  ASSERT_NO_THROW(comm.OpenPort());
  ASSERT_TRUE(PumpUntil([&] { return events.empties >= 2; }));  // the new open's first notice
  PumpFor(30ms);
  EXPECT_TRUE(events.received.empty());

  const std::vector<u8> fresh = {'n', 'e', 'w'};
  ASSERT_TRUE(pty.WriteAll(fresh));
  ASSERT_TRUE(PumpUntil([&] { return events.received.size() >= fresh.size(); }));
  EXPECT_EQ(events.received, fresh);
}

TEST(TCommLifetimeDestroy, EventsOfADestroyedComponentAreDropped) {
  PseudoTerminal pty;
  ASSERT_TRUE(pty.ok());
  PumpedEventQueue queue;
  int delivered = 0;
  auto comm = std::make_unique<TComm>(queue);
  comm->OnReceiveData = [&](TComm&, std::span<const u8>) { ++delivered; };
  comm->OnSendDataEmpty = [&](TComm&) { ++delivered; };
  comm->SetCommName(pty.SlavePath());
  ASSERT_NO_THROW(comm->OpenPort());
  ASSERT_TRUE(pty.WriteAll(Pattern(64, 9)));
  // The port's events wait behind one wake-up; a moment more lets the data join them.
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (queue.Pending() < 1 && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(1ms);
  ASSERT_GE(queue.Pending(), 1u);
  std::this_thread::sleep_for(50ms);
  comm.reset();
  EXPECT_GE(queue.Pump(), 1u);
  EXPECT_EQ(delivered, 0);
}

}  // namespace
}  // namespace qx
