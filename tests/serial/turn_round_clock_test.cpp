// The benchmarks' clock of the program's own turn-round, on a real component: a request
// framed and written inside the receive handler is timed from the reply's post to the
// handler's return, not from the batch's start, and the clock binds no event of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <thread>

#include "programmer/WireBuffers.h"
#include "serial/PumpedEventQueue.h"
#include "serial/TComm.h"
#include "tests/bench/TurnRoundClock.h"
#include "tests/serial/PseudoTerminal.h"

namespace qx::test {
namespace {

using namespace std::chrono_literals;

struct ClockOnPty : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(pty.ok());
    SetProgrammerLinePreset(comm);
    comm.SetCommName(pty.SlavePath());
  }
  PseudoTerminal pty;
  PumpedEventQueue queue;
  bench::TimedPoster timed{queue};
  bench::TurnRoundClock clock{timed};
  TComm comm{timed};
};

TEST_F(ClockOnPty, TimesFromTheReplyToTheWriteItsHandlerMade) {
  constexpr auto kHandlerWork = 3ms;
  std::array<u8, 4> request{1, 2, 3, 4};
  UnitBuffers buffers;
  bool answer = true;
  int replies = 0;
  // As the program answers: the next request framed into the unit's transmit slot, then written.
  comm.OnReceiveData = [&](TComm& c, std::span<const u8>) {
    ++replies;
    if (!answer) return;
    std::this_thread::sleep_for(kHandlerWork);
    std::copy(request.begin(), request.end(), buffers.TxFrameBuf.begin());
    c.WriteData(std::span<const u8>(buffers.TxFrameBuf).first(request.size()));
  };
  clock.Attach(comm, 0, buffers);
  EXPECT_FALSE(comm.OnSendDataEmpty);  // the program binds none: the clock adds no event
  ASSERT_NO_THROW(comm.OpenPort());
  clock.Start();

  const std::array<u8, 3> reply{7, 8, 9};
  ASSERT_TRUE(pty.WriteAll(reply));
  ASSERT_TRUE(queue.PumpUntil([&] { return clock.Count() == 1; }, 10s));
  EXPECT_EQ(pty.ReadExactly(request.size()), std::vector<u8>(request.begin(), request.end()));
  EXPECT_GE(clock.Percentile(0.5), std::chrono::duration<double>(kHandlerWork).count());

  // A reply that nothing answers counts nothing.
  answer = false;
  const int before = replies;
  ASSERT_TRUE(pty.WriteAll(reply));
  ASSERT_TRUE(queue.PumpUntil([&] { return replies > before; }, 10s));
  EXPECT_EQ(clock.Count(), 1u);

  // The next request, framed and written: counted again.
  answer = true;
  request[1] = 0x22;
  ASSERT_TRUE(pty.WriteAll(reply));
  ASSERT_TRUE(queue.PumpUntil([&] { return clock.Count() == 2; }, 10s));
  comm.ClosePort();
}

}  // namespace
}  // namespace qx::test
