#pragma once
// Catalogue texts for Qt widgets.
#include <QString>
#include <string_view>

#include "texts/Texts.h"

namespace qx {

inline QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
inline QString QText(TextId id) { return Q(Text(id)); }
inline std::string S(const QString& s) { return s.toUtf8().toStdString(); }

}  // namespace qx
