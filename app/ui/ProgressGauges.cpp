#include "app/ui/ProgressGauges.h"

#include <QPalette>
#include <QProgressBar>
#include <QStyle>
#include <QStyleOptionProgressBar>
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

GaugeFace FaceOf(const QProgressBar& bar, const UnitGauge& gauge) {
  GaugeFace f;
  f.Max = std::max(gauge.Max, 0);
  f.State = gauge.State;
  QStyleOptionProgressBar opt;
  opt.initFrom(&bar);
  f.Width = bar.style()->subElementRect(QStyle::SE_ProgressBarContents, &opt, &bar).width();
  if (f.Max > 0) {
    const qint64 value = std::clamp(gauge.Progress, 0, f.Max);
    f.Filled = static_cast<int>(value * std::max(f.Width, 0) / f.Max);
    f.Percent = static_cast<int>(static_cast<double>(value) * 100.0 / f.Max);  // as the bar writes it
  }
  return f;
}

bool ShowGauge(QProgressBar& bar, const UnitGauge& gauge, std::optional<GaugeFace>& shown) {
  const GaugeFace face = FaceOf(bar, gauge);
  if (shown == face) return false;
  shown = face;
  // A bar repaints itself on the spot when its value changes; held back, it is painted in
  // the window's next paint, together with the other bars.
  bar.setUpdatesEnabled(false);
  if (face.Max == 0) {
    bar.setRange(0, 1);
    bar.setValue(0);
  } else {
    bar.setRange(0, face.Max);
    bar.setValue(std::clamp(gauge.Progress, 0, face.Max));
  }
  const QColor colour = GaugeColour(gauge.State);
  if (bar.palette().color(QPalette::Highlight) != colour) {
    QPalette p = bar.palette();
    p.setColor(QPalette::Highlight, colour);
    bar.setPalette(p);
  }
  bar.setUpdatesEnabled(true);
  return true;
}

}  // namespace qx
