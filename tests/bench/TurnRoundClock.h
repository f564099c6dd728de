#pragma once
// The program's own turn-round per request: from the moment a port's reader posted the
// reply's bytes to the moment the request that answers it had been handed to the port
// (written, or queued for the writer thread). The simulator's figure adds what lies around
// it: the terminal's hand-overs both ways, the wake-up of the program's reader and the
// simulator's own.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <functional>
#include <span>
#include <utility>
#include <vector>

#include "programmer/WireBuffers.h"
#include <cstring>
#include "serial/EventPoster.h"
#include "serial/TComm.h"

namespace qx::bench {

using BenchClock = std::chrono::steady_clock;

// Passes every post on and tells the event that runs when its worker thread posted it.
class TimedPoster final : public EventPoster {
 public:
  explicit TimedPoster(EventPoster& next) : next_(next) {}
  void post(std::function<void()> fn) override {
    const auto at = BenchClock::now();
    next_.post([this, at, fn = std::move(fn)] {
      postedAt_ = at;
      fn();
    });
  }
  BenchClock::time_point PostedAt() const { return postedAt_; }

 private:
  EventPoster& next_;
  BenchClock::time_point postedAt_{};
};

class TurnRoundClock {
 public:
  explicit TurnRoundClock(const TimedPoster& poster) : poster_(poster) {}

  // Wraps the port's receive handler in place; binds nothing else, so the program's events
  // stay what they are. A reply counts from the post that carried its last bytes (a post
  // carries every event of the port waiting by then, so from the oldest of them). The
  // program answers a reply inside its receive handler: the end is that handler's return
  // when it framed a new request into the unit's transmit slot (whose first bytes carry the
  // command and the block number).
  void Attach(TComm& comm, std::size_t unit, const UnitBuffers& buffers) {
    auto route = comm.OnReceiveData;
    comm.OnReceiveData = [this, unit, route, &buffers](TComm& c, std::span<const u8> data) {
      received_[unit] = poster_.PostedAt();
      std::array<u8, kHead> before{};
      std::memcpy(before.data(), buffers.TxFrameBuf.data(), kHead);
      if (route) route(c, data);
      if (std::memcmp(before.data(), buffers.TxFrameBuf.data(), kHead) == 0) return;
      const auto end = BenchClock::now();
      if (measuring_) samples_.push_back(std::chrono::duration<double>(end - received_[unit]).count());
    };
  }
  void Start() { measuring_ = true; }
  void Stop() { measuring_ = false; }

  std::size_t Count() const { return samples_.size(); }
  // Seconds; p from 0 to 1.
  double Percentile(double p) const {
    if (samples_.empty()) return 0;
    std::vector<double> v = samples_;
    std::sort(v.begin(), v.end());
    const auto i = static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(i, v.size() - 1)];
  }
  double Mean() const {
    double sum = 0;
    for (const double t : samples_) sum += t;
    return samples_.empty() ? 0 : sum / static_cast<double>(samples_.size());
  }

 private:
  static constexpr std::size_t kHead = 16;
  const TimedPoster& poster_;
  bool measuring_ = false;
  std::array<BenchClock::time_point, UnitMax> received_{};
  std::vector<double> samples_;
};

}  // namespace qx::bench
