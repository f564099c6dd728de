#include "app/ui/HexGridFont.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <array>

namespace qx {
namespace {

// Faces of the common Linux font packages that Qt reports fixed pitch, most usual first.
constexpr std::array<const char*, 6> kFixedFaces = {"DejaVu Sans Mono", "Liberation Mono", "Noto Sans Mono",
                                                    "Nimbus Mono PS", "FreeMono", "Courier 10 Pitch"};

QFont SizedLike(QFont f, const QFont& like) {
  f.setStyleHint(QFont::Monospace);
  f.setFixedPitch(true);
  if (like.pointSizeF() > 0) f.setPointSizeF(like.pointSizeF());
  if (like.pixelSize() > 0) f.setPixelSize(like.pixelSize());
  return f;
}

}  // namespace

QFont HexGridFont(const QFont& like) {
  const QFont system = SizedLike(QFontDatabase::systemFont(QFontDatabase::FixedFont), like);
  if (QFontInfo(system).fixedPitch()) return system;
  for (const char* face : kFixedFaces) {
    const QString family = QString::fromLatin1(face);
    if (!QFontDatabase::hasFamily(family)) continue;
    const QFont f = SizedLike(QFont(family), like);
    const QFontInfo used(f);
    if (used.family() == family && used.fixedPitch()) return f;
  }
  return system;
}

}  // namespace qx
