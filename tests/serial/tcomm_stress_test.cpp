#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <thread>
#include <vector>

#include "tests/serial/CommFixture.h"

namespace qx {
namespace {

using namespace std::chrono_literals;
using test::Pattern;
using test::PseudoTerminal;

TEST(TCommStress, TenPortsExchangeOneMebibyteEachWayAtOnce) {
  constexpr std::size_t kPorts = 10;
  constexpr std::size_t kSize = 1024 * 1024;
  constexpr std::size_t kRequest = 4096;  // the size of a data packet's payload

  PumpedEventQueue queue;
  std::array<PseudoTerminal, kPorts> ptys;
  std::array<test::CommEvents, kPorts> events;
  std::vector<std::unique_ptr<TComm>> comms;
  std::vector<std::vector<u8>> toPort(kPorts), fromPort(kPorts), farGot(kPorts);
  for (std::size_t k = 0; k < kPorts; ++k) {
    ASSERT_TRUE(ptys[k].ok());
    toPort[k] = Pattern(kSize, static_cast<u32>(k));
    fromPort[k] = Pattern(kSize, static_cast<u32>(100 + k));
    comms.push_back(std::make_unique<TComm>(queue));
    events[k].Attach(*comms[k]);
    SetProgrammerLinePreset(*comms[k]);
    comms[k]->SetCommName(ptys[k].SlavePath());
    ASSERT_NO_THROW(comms[k]->OpenPort());
  }

  // The far ends send and receive on their own threads while this thread runs the events.
  std::vector<std::thread> farEnds;
  std::array<bool, kPorts> farSent{};
  for (std::size_t k = 0; k < kPorts; ++k) {
    farEnds.emplace_back([&, k] { farSent[k] = ptys[k].WriteAll(toPort[k], 120s); });
    farEnds.emplace_back([&, k] { farGot[k] = ptys[k].ReadExactly(kSize, 120s); });
  }
  bool queued = true;
  for (std::size_t off = 0; off < kSize; off += kRequest) {
    for (std::size_t k = 0; k < kPorts; ++k) {
      queued = comms[k]->WriteData(std::span<const u8>(fromPort[k]).subspan(off, kRequest)) && queued;
    }
  }
  EXPECT_TRUE(queued);
  const bool allIn = queue.PumpUntil(
      [&] {
        for (const auto& e : events) {
          if (e.received.size() < kSize) return false;
        }
        return true;
      },
      120s);
  for (auto& t : farEnds) t.join();
  EXPECT_TRUE(allIn);
  for (std::size_t k = 0; k < kPorts; ++k) {
    SCOPED_TRACE(k);
    EXPECT_TRUE(farSent[k]);
    EXPECT_TRUE(events[k].received == toPort[k]);
    EXPECT_TRUE(farGot[k] == fromPort[k]);
    EXPECT_EQ(events[k].hangups, 0);
    for (const auto n : events[k].chunks) EXPECT_LE(n, 2048u);
  }
}

}  // namespace
}  // namespace qx
