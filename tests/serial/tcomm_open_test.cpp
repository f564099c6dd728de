#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "serial/CommDevice.h"
#include "serial/PortProbe.h"
#include "serial/PumpedEventQueue.h"
#include "serial/TComm.h"
#include "tests/serial/CommFixture.h"
#include "tests/serial/PseudoTerminal.h"

namespace qx {
namespace {

using namespace std::chrono_literals;
using test::OpenFdCount;
using test::PseudoTerminal;

std::string OpenError(TComm& comm) {
  try {
    comm.OpenPort();
  } catch (const ECommsError& e) {
    return e.what();
  }
  return "(opened)";
}

class TCommOpenPort : public test::CommOnPty {};

TEST(TCommOpen, EveryFailureGivesItsTextAndLeavesNothingOpen) {
  PseudoTerminal held;
  ASSERT_TRUE(held.ok());
  PumpedEventQueue queue;
  TComm holder(queue);
  holder.SetCommName(held.SlavePath());
  ASSERT_NO_THROW(holder.OpenPort());

  struct Case {
    std::string name;
    std::string text;
  };
  const Case cases[] = {
      {"/dev/qx-no-such-port", "Error opening serial port:/dev/qx-no-such-port"},
      {"qx-no-such-port", "Error opening serial port:qx-no-such-port"},
      {"/dev/null", "File handle is not a comm handle "},
      {"/tmp", "Error opening serial port:/tmp"},
      {held.SlavePath(), "Error opening serial port:" + held.SlavePath()},  // held by another component
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TComm comm(queue);
    comm.SetCommName(c.name);
    const int before = OpenFdCount();
    EXPECT_EQ(OpenError(comm), c.text);
    EXPECT_EQ(OpenFdCount(), before);
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_FALSE(comm.InForce().Known);
    EXPECT_FALSE(comm.WriteData(std::vector<u8>{1, 2, 3}));

    // A failed open leaves the component closed and ready for another attempt.
    PseudoTerminal good;
    ASSERT_TRUE(good.ok());
    comm.SetCommName(good.SlavePath());
    ASSERT_NO_THROW(comm.OpenPort());
    EXPECT_TRUE(comm.IsOpen());
    comm.ClosePort();
  }
}

TEST_F(TCommOpenPort, SecondOpenRaisesAndLeavesTheOpenPortWorking) {
  Open();
  const int before = OpenFdCount();
  EXPECT_EQ(OpenError(comm), "This serial port already opened");
  EXPECT_EQ(OpenFdCount(), before);
  ASSERT_TRUE(comm.IsOpen());

  const std::vector<u8> out = {0x10, 0x20, 0x30};
  ASSERT_TRUE(comm.WriteData(out));
  EXPECT_EQ(pty.ReadExactly(out.size()), out);
  const std::vector<u8> in = {0xC0, 0x01, 0xC0};
  ASSERT_TRUE(pty.WriteAll(in));
  ASSERT_TRUE(PumpUntil([&] { return events.received.size() >= in.size(); }));
  EXPECT_EQ(events.received, in);
}

TEST(TCommOpen, CloseAndDestroyReleaseEverythingTheOpenMade) {
  PseudoTerminal pty;
  ASSERT_TRUE(pty.ok());
  PumpedEventQueue queue;
  const int baseline = OpenFdCount();
  {
    TComm comm(queue);
    comm.ClosePort();  // closed: nothing happens
    comm.SetCommName(pty.SlavePath());
    for (int round = 0; round < 3; ++round) {
      ASSERT_NO_THROW(comm.OpenPort());
      EXPECT_FALSE(CanOpenPort(pty.SlavePath()));
      comm.ClosePort();
      EXPECT_EQ(OpenFdCount(), baseline);
      EXPECT_TRUE(CanOpenPort(pty.SlavePath()));
    }
    ASSERT_NO_THROW(comm.OpenPort());
  }  // destroyed while open
  EXPECT_EQ(OpenFdCount(), baseline);
  EXPECT_TRUE(CanOpenPort(pty.SlavePath()));
  queue.Pump();  // what the threads had posted is dropped, not delivered to a dead component
}

TEST(SerialPortProbe, TellsWhetherADeviceCanBeOpenedNow) {
  PseudoTerminal pty;
  ASSERT_TRUE(pty.ok());
  const int before = OpenFdCount();
  EXPECT_TRUE(CanOpenPort(pty.SlavePath()));
  EXPECT_FALSE(CanOpenPort("/dev/null"));
  EXPECT_FALSE(CanOpenPort("qx-no-such-port"));
  {
    auto held = OpenCommDevice(pty.SlavePath());
    ASSERT_EQ(held.failure, CommOpenFailure::None);
    EXPECT_FALSE(CanOpenPort(pty.SlavePath()));
  }
  EXPECT_TRUE(CanOpenPort(pty.SlavePath()));
  EXPECT_EQ(OpenFdCount(), before);
}

TEST(SerialPortProbe, NamesWithoutASlashLieInDev) {
  EXPECT_EQ(CommDevicePath("COM5"), "/dev/COM5");
  EXPECT_EQ(CommDevicePath("ttyUSB0"), "/dev/ttyUSB0");
  EXPECT_EQ(CommDevicePath("/dev/pts/3"), "/dev/pts/3");
  EXPECT_EQ(CommDevicePath("serial/by-id/x"), "serial/by-id/x");
}

}  // namespace
}  // namespace qx
