#pragma once
// Texts of the catalogue and of the core (UTF-8) as Qt strings.
#include <QString>
#include <string_view>

#include "texts/Texts.h"

namespace qx {

inline QString QtText(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline QString QtText(TextId id) { return QtText(Text(id)); }

}  // namespace qx
