#include "app/ui/ProgressGauges.h"

#include <QPalette>
#include <QProgressBar>
#include <algorithm>

namespace qx {

int GaugesShown(int unitCount) {
  if (unitCount <= 1) return 1;
  if (unitCount <= 4) return 4;
  if (unitCount <= 6) return 6;
  if (unitCount <= 8) return 8;
  return GaugeCount;
}

QColor GaugeColour(GaugeState state) {
  switch (state) {
    case GaugeState::Ok: return {0, 160, 0};
    case GaugeState::Failed: return {220, 0, 0};
    case GaugeState::Running: break;
  }
  return {0, 90, 200};
}

void ShowGauge(QProgressBar& bar, const UnitGauge& gauge) {
  const int max = std::max(gauge.Max, 0);
  if (max == 0) {
    bar.setRange(0, 1);
    bar.setValue(0);
  } else {
    bar.setRange(0, max);
    bar.setValue(std::clamp(gauge.Progress, 0, max));
  }
  const QColor colour = GaugeColour(gauge.State);
  if (bar.palette().color(QPalette::Highlight) != colour) {
    QPalette p = bar.palette();
    p.setColor(QPalette::Highlight, colour);
    bar.setPalette(p);
  }
}

}  // namespace qx
