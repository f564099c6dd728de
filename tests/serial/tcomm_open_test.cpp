#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <poll.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <memory>
#include <string>

#include "serial/CommDevice.h"
#include "serial/LowLatency.h"
#include "serial/PortProbe.h"
#include "serial/PumpedEventQueue.h"
#include "serial/TComm.h"
#include "tests/serial/CommFixture.h"
#include "tests/serial/PseudoTerminal.h"
#include "tests/support/TempDir.h"

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

// Another process holds the port: a child opens and locks it as the program does, and
// keeps it until released. Only system calls run in the child.
class HoldingChild {
 public:
  explicit HoldingChild(const std::string& path) {
    int ready[2];
    int release[2];
    if (::pipe2(ready, O_CLOEXEC) != 0 || ::pipe2(release, O_CLOEXEC) != 0) return;
    const char* device = path.c_str();
    pid_ = ::fork();
    if (pid_ == 0) {
      // Its own copy of the release end would keep the read below from ever seeing the end.
      ::close(ready[0]);
      ::close(release[1]);
      const int fd = ::open(device, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
      char c = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::ioctl(fd, TIOCEXCL) == 0 ? 'y' : 'n';
      (void)!::write(ready[1], &c, 1);
      pollfd p{release[0], POLLIN, 0};
      (void)::poll(&p, 1, 60000);  // released, or the test went away
      ::_exit(0);
    }
    ::close(ready[1]);
    ::close(release[0]);
    char c = 0;
    ok_ = pid_ > 0 && ::read(ready[0], &c, 1) == 1 && c == 'y';
    ::close(ready[0]);
    release_ = release[1];
  }
  ~HoldingChild() {
    if (release_ >= 0) ::close(release_);
    if (pid_ > 0) ::waitpid(pid_, nullptr, 0);
  }
  HoldingChild(const HoldingChild&) = delete;
  HoldingChild& operator=(const HoldingChild&) = delete;
  bool ok() const { return ok_; }

 private:
  pid_t pid_ = -1;
  int release_ = -1;
  bool ok_ = false;
};

TEST(TCommOpen, EveryFailureGivesItsTextAndLeavesNothingOpen) {
  PseudoTerminal heldByChild;
  ASSERT_TRUE(heldByChild.ok());
  HoldingChild child(heldByChild.SlavePath());  // before any thread of this process runs
  ASSERT_TRUE(child.ok());

  PseudoTerminal held;
  ASSERT_TRUE(held.ok());
  PumpedEventQueue queue;
  TComm holder(queue);
  holder.SetCommName(held.SlavePath());
  ASSERT_NO_THROW(holder.OpenPort());
  PseudoTerminal refusing;
  ASSERT_TRUE(refusing.ok());

  const std::string missing = "No such device: the port does not exist or its adapter is unplugged.";
  const std::string busy = "Busy: the port is held by another program.";
  struct Case {
    std::string name;
    std::string text;
    std::function<void(TComm&)> setup;
  };
  const Case cases[] = {
      {"/dev/qx-no-such-port", "Error opening serial port:/dev/qx-no-such-port\n" + missing, nullptr},
      {"qx-no-such-port", "Error opening serial port:qx-no-such-port\n" + missing, nullptr},
      {"/dev/null", "File handle is not a comm handle ", nullptr},
      {"/tmp", "Error opening serial port:/tmp\nSystem error 21: Is a directory", nullptr},
      {held.SlavePath(), "Error opening serial port:" + held.SlavePath() + "\n" + busy, nullptr},
      {heldByChild.SlavePath(), "Error opening serial port:" + heldByChild.SlavePath() + "\n" + busy, nullptr},
      // A pseudo-terminal keeps 8 data bits and no parity whatever it is asked for.
      {refusing.SlavePath(),
       "Cannot setup comm buffer\nThe driver refused the line settings: asked 1000000 7E2, in force 1000000 8N2.",
       [](TComm& c) {
         SetProgrammerLinePreset(c);
         c.SetByteSize(TByteSize::_7);
         c.SetParity(TParity::Even);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TComm comm(queue);
    comm.SetCommName(c.name);
    if (c.setup) c.setup(comm);
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
    SetProgrammerLinePreset(comm);
    ASSERT_NO_THROW(comm.OpenPort());
    EXPECT_TRUE(comm.IsOpen());
    comm.ClosePort();
  }
}

TEST(TCommOpen, ReasonsForTheSystemsErrors) {
  test::TempDir dir;
  const std::string device = dir.File("ttyQX0");
  test::WriteText(device, "");
  // The group that owns the device is the one the user needs.
  const bool owned = ::chown(device.c_str(), static_cast<uid_t>(-1), 5) == 0;
  struct Case {
    int error;
    std::string path;
    std::string text;
  };
  const Case cases[] = {
      {ENOENT, "/dev/qx-no-such-port", "No such device: the port does not exist or its adapter is unplugged."},
      {ENXIO, device, "No such device: the port does not exist or its adapter is unplugged."},
      {EACCES, "/dev/qx-no-such-port",
       "Permission denied: the user needs to be in the group of the serial ports (\"dialout\"), then log in again."},
      {EBUSY, device, "Busy: the port is held by another program."},
      {EWOULDBLOCK, device, "Busy: the port is held by another program."},
      {EIO, device, "System error 5: Input/output error"},
  };
  for (const auto& c : cases) EXPECT_EQ(CommOpenReason(c.error, c.path), c.text) << c.error;
  if (owned) {
    ASSERT_EQ(::chmod(device.c_str(), 0660), 0);
    EXPECT_EQ(CommOpenReason(EACCES, device),
              "Permission denied: the user needs to be in the group of the serial ports (\"" +
                  std::string(::getgrgid(5)->gr_name) + "\"), then log in again.");
  }
}

// A group that may not read and write the device is no advice: only its owner may use it.
TEST(TCommOpen, PermissionReasonNamesAGroupOnlyWhenItMayReadAndWrite) {
  test::TempDir dir;
  const std::string device = dir.File("ttyQX1");
  test::WriteText(device, "");
  struct stat st {};
  ASSERT_EQ(::stat(device.c_str(), &st), 0);
  const passwd* owner = ::getpwuid(st.st_uid);
  ASSERT_NE(owner, nullptr);
  const std::string ownerOnly = "Permission denied: only its owner (\"" + std::string(owner->pw_name) + "\") may use the device.";
  const group* g = ::getgrgid(st.st_gid);
  ASSERT_NE(g, nullptr);
  const std::string joinGroup = "Permission denied: the user needs to be in the group of the serial ports (\"" +
                                std::string(g->gr_name) + "\"), then log in again.";
  const struct {
    mode_t mode;
    const std::string& text;
  } cases[] = {{0600, ownerOnly}, {0640, ownerOnly}, {0620, ownerOnly}, {0660, joinGroup}, {0670, joinGroup}};
  for (const auto& c : cases) {
    ASSERT_EQ(::chmod(device.c_str(), c.mode), 0);
    EXPECT_EQ(CommOpenReason(EACCES, device), c.text) << std::oct << c.mode;
  }
}

// Pseudo-terminals have no low-latency request: it fails quietly and the port opens and
// carries bytes as before.
TEST_F(TCommOpenPort, LowLatencyRequestFailsQuietlyOnAPseudoTerminal) {
  {
    UniqueFd fd(::open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    ASSERT_TRUE(fd);
    EXPECT_FALSE(RequestLowLatency(fd.get()));
  }
  Open();
  const std::vector<u8> out = {0xC0, 0x55, 0xC0};
  ASSERT_TRUE(comm.WriteData(out));
  EXPECT_EQ(pty.ReadExactly(out.size()), out);
  ASSERT_TRUE(pty.WriteAll(out));
  ASSERT_TRUE(PumpUntil([&] { return events.received.size() >= out.size(); }));
  EXPECT_EQ(events.received, out);
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
