#pragma once
// The ten unit gauges: how many a unit count shows, and one bar set from a unit's gauge.
#include <QColor>
#include <optional>

#include "base/Operator.h"

class QProgressBar;

namespace qx {

inline constexpr int GaugeCount = 10;

// Gauges shown for a unit count: always whole groups of the layout (1, 4, 6, 8 or 10), so
// two units show four gauges.
int GaugesShown(int unitCount);

QColor GaugeColour(GaugeState state);

// What a bar shows of a gauge: its range, the pixels filled at its present width, the
// percentage it writes and its colour. A change that leaves all of them as they are is
// not worth a paint.
struct GaugeFace {
  int Max = 0;
  int Width = 0;
  int Filled = 0;
  int Percent = 0;
  GaugeState State = GaugeState::Running;
  bool operator==(const GaugeFace&) const = default;
};

GaugeFace FaceOf(const QProgressBar& bar, const UnitGauge& gauge);

// The only way a gauge bar is set, and only when its face changes (shown: the face it was
// last set to, none before the first). QProgressBar drops a value outside its range and
// resets itself when its range shrinks below the value, so the value is clamped into
// 0..Max after the range is set; a range of 0..0 would turn the bar into a busy indicator,
// so an empty range shows as an empty bar. The bar is repainted with the window's next
// paint, not on the spot. Returns whether the bar was set.
bool ShowGauge(QProgressBar& bar, const UnitGauge& gauge, std::optional<GaugeFace>& shown);

}  // namespace qx
