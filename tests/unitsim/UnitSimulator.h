#pragma once
// N simulated units, each on its own pseudo-terminal served by its own thread. The program
// (or a test) opens the slave paths; the simulator answers on the master side. Stopping
// (or destroying) the simulator ends the threads and closes the terminals.
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/unitsim/SimUnit.h"

namespace qx::sim {

// 1,000,000 baud, 8N2: eleven bit times per byte.
inline constexpr double PacedBytesPerSecond = 1'000'000.0 / 11.0;

// What crossed one unit's line since the last mark, and the program's turn-round as the
// unit sees it: from its reply's last byte written to the next request's first byte read.
struct WireFigures {
  std::uint64_t BytesIn = 0;
  std::uint64_t BytesOut = 0;
  std::vector<double> TurnRoundUs;
};

class UnitSimulator {
 public:
  explicit UnitSimulator(std::vector<UnitConfig> units);
  ~UnitSimulator();
  UnitSimulator(const UnitSimulator&) = delete;
  UnitSimulator& operator=(const UnitSimulator&) = delete;

  std::size_t Count() const { return units_.size(); }
  // The slave path of unit k (0-based), e.g. /dev/pts/7; empty when it could not be made.
  std::string Path(std::size_t k) const;
  UnitStats Stats(std::size_t k) const;
  std::string IdText(std::size_t k) const;
  void SetFaults(std::size_t k, std::vector<Fault> faults);
  // Runs f on unit k's simulated state with its lock held.
  void WithUnit(std::size_t k, const std::function<void(SimUnit&)>& f);
  WireFigures Wire(std::size_t k) const;
  // Every unit's wire figures start again from nothing.
  void MarkWire();
  // Hang-up of unit k's side (its master closed); the others go on.
  void HangUp(std::size_t k);
  // Unit k plugged in again after a hang-up (or now, hanging it up first): a new terminal,
  // so a new Path(k), and the unit's state as it was. False when no terminal could be made.
  bool Replug(std::size_t k);

  // Writes DIR/ConfigQlt.ini naming the terminals (CR LF line ends).
  bool WriteConfigFile(const std::string& dir) const;

  void Stop();

 private:
  struct Runner;
  static void Run(Runner& r, int stopFd);
  static void OpenTerminal(Runner& r);

  std::vector<std::unique_ptr<Runner>> units_;
  int stopFd_ = -1;
  bool stopped_ = false;
};

// One summary line of what unit k received.
std::string SummaryLine(std::size_t k, const UnitStats& s);
// One line of every unit's wire figures together: bytes each way and the turn-round's
// median and 99th percentile.
std::string WireSummaryLine(std::vector<WireFigures> units);

}  // namespace qx::sim
