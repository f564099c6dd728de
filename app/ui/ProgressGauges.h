#pragma once
// The ten unit gauges: how many a unit count shows, and one bar set from a unit's gauge.
#include <QColor>

#include "base/Operator.h"

class QProgressBar;

namespace qx {

inline constexpr int GaugeCount = 10;

// Gauges shown for a unit count: always whole groups of the layout (1, 4, 6, 8 or 10), so
// two units show four gauges.
int GaugesShown(int unitCount);

QColor GaugeColour(GaugeState state);

// The only way a gauge bar is set. QProgressBar drops a value outside its range and resets
// itself when its range shrinks below the value, so the value is clamped into 0..Max after
// the range is set; a range of 0..0 would turn the bar into a busy indicator, so an empty
// range shows as an empty bar.
void ShowGauge(QProgressBar& bar, const UnitGauge& gauge);

}  // namespace qx
