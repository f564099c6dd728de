// The benchmarks' clock of the program's own turn-round, on a real component: a write made
// inside the receive handler is delivered in the same batch as the reply, and must still be
// timed from the reply's post to the write, not to the batch's start.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <thread>

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
  const std::array<u8, 4> request{1, 2, 3, 4};
  bool answer = true;
  comm.OnReceiveData = [&](TComm& c, std::span<const u8>) {
    if (!answer) return;
    std::this_thread::sleep_for(kHandlerWork);
    c.WriteData(request);
  };
  clock.Attach(comm, 0);
  ASSERT_NO_THROW(comm.OpenPort());
  clock.Start();

  const std::array<u8, 3> reply{7, 8, 9};
  ASSERT_TRUE(pty.WriteAll(reply));
  ASSERT_TRUE(queue.PumpUntil([&] { return clock.Count() == 1; }, 10s));
  EXPECT_EQ(pty.ReadExactly(request.size()), std::vector<u8>(request.begin(), request.end()));
  EXPECT_GE(clock.Percentile(0.5), std::chrono::duration<double>(kHandlerWork).count());

  // A reply that nothing answers counts nothing.
  answer = false;
  ASSERT_TRUE(pty.WriteAll(reply));
  queue.PumpUntil([] { return false; }, 50ms);
  EXPECT_EQ(clock.Count(), 1u);
  comm.ClosePort();
}

}  // namespace
}  // namespace qx::test
