#pragma once
// A component on its own pseudo-terminal, with everything its events deliver recorded.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "serial/PumpedEventQueue.h"
#include "serial/TComm.h"
#include "tests/serial/PseudoTerminal.h"

namespace qx::test {

struct CommEvents {
  std::vector<u8> received;
  std::vector<std::size_t> chunks;
  int hangups = 0;
  int empties = 0;

  void Attach(TComm& comm) {
    comm.OnReceiveData = [this](TComm&, std::span<const u8> data) {
      received.insert(received.end(), data.begin(), data.end());
      chunks.push_back(data.size());
    };
    comm.OnRequestHangup = [this](TComm&) { ++hangups; };
    comm.OnSendDataEmpty = [this](TComm&) { ++empties; };
  }
};

class CommOnPty : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty.ok());
    events.Attach(comm);
    SetProgrammerLinePreset(comm);
    comm.SetCommName(pty.SlavePath());
  }

  void Open() {
    ASSERT_NO_THROW(comm.OpenPort());
    // The writer's first notice marks both threads as running.
    ASSERT_TRUE(PumpUntil([&] { return events.empties >= 1; }));
  }

  bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    return queue.PumpUntil(done, timeout);
  }
  // Lets the threads run for a while and delivers what they posted.
  void PumpFor(std::chrono::milliseconds window) {
    queue.PumpUntil([] { return false; }, window);
  }

  PumpedEventQueue queue;
  PseudoTerminal pty;
  CommEvents events;
  TComm comm{queue};
};

}  // namespace qx::test
