#include "app/ui/AboutPicture.h"

#include <QLinearGradient>
#include <QPainter>

namespace qx {

TAboutPicture::TAboutPicture(QWidget* parent) : QWidget(parent) {}

void TAboutPicture::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal side = std::min(width(), height());
  p.translate((width() - side) / 2, (height() - side) / 2);
  p.scale(side / 100.0, side / 100.0);

  // Socket base.
  QLinearGradient base(0, 0, 0, 100);
  base.setColorAt(0, QColor(40, 110, 180));
  base.setColorAt(1, QColor(20, 60, 120));
  p.setPen(Qt::NoPen);
  p.setBrush(base);
  p.drawRoundedRect(QRectF(4, 4, 92, 92), 10, 10);

  // Pins on all four sides.
  p.setBrush(QColor(210, 210, 215));
  for (int i = 0; i < 6; ++i) {
    const qreal at = 24 + i * 10;
    p.drawRect(QRectF(at, 14, 5, 10));
    p.drawRect(QRectF(at, 76, 5, 10));
    p.drawRect(QRectF(14, at, 10, 5));
    p.drawRect(QRectF(76, at, 10, 5));
  }

  // Chip body with its pin-1 mark.
  p.setBrush(QColor(35, 35, 40));
  p.drawRoundedRect(QRectF(24, 24, 52, 52), 4, 4);
  p.setBrush(QColor(120, 120, 130));
  p.drawEllipse(QPointF(32, 32), 3, 3);

  // A tick: the chip is programmed.
  QPen tick(QColor(60, 200, 90), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(tick);
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({QPointF(37, 51), QPointF(47, 61), QPointF(64, 41)}));
}

}  // namespace qx
