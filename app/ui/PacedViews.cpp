#include "app/ui/PacedViews.h"

#include <utility>

namespace qx {

PacedViews::PacedViews(std::function<void(Pending&)> paint) : paint_(std::move(paint)) {
  timer_.setSingleShot(true);
  timer_.setInterval(kIntervalMs);
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { PaintNow(); });
}

void PacedViews::SetGauge(u8 unit, const UnitGauge& gauge) {
  if (unit >= pending_.Gauges.size()) return;
  pending_.Gauges[unit] = gauge;
  Later();
}

void PacedViews::AddLine(const std::string& line) {
  pending_.Lines.push_back(line);
  Later();
}

void PacedViews::Later() {
  // The first change of an interval starts it; later ones ride along.
  if (!timer_.isActive()) timer_.start();
}

void PacedViews::PaintNow() {
  timer_.stop();
  Pending shown = std::move(pending_);
  pending_ = Pending{};
  paint_(shown);
}

}  // namespace qx
