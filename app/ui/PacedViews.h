#pragma once
// What the window's gauges and log memo are to show, kept as a model and painted at a
// bounded rate: the units' replies arrive hundreds of times a second, and painting a bar
// or laying out a line for each would delay the next block behind the screen. Changes
// are collected and shown together when the interval ends, or at once when asked to
// (a step's end, a message box, a clear).
#include <QTimer>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/Operator.h"
#include "programmer/WireBuffers.h"

namespace qx {

class PacedViews {
 public:
  // A few tens of repaints a second for all gauges and the memo together.
  static constexpr int kIntervalMs = 40;

  struct Pending {
    std::array<std::optional<UnitGauge>, UnitMax> Gauges;
    std::vector<std::string> Lines;
  };
  // paint shows what has changed since the last paint.
  explicit PacedViews(std::function<void(Pending&)> paint);

  void SetGauge(u8 unit, const UnitGauge& gauge);
  void AddLine(const std::string& line);
  // Lines not yet shown are dropped with the memo's.
  void ClearLines() { pending_.Lines.clear(); }
  // Paints what is pending now.
  void PaintNow();

 private:
  void Later();

  std::function<void(Pending&)> paint_;
  Pending pending_;
  QTimer timer_;
};

}  // namespace qx
