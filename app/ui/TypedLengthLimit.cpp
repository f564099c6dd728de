#include "app/ui/TypedLengthLimit.h"

#include <QLineEdit>

namespace qx {

TypedLengthLimit::TypedLengthLimit(QLineEdit& edit, int maxLength)
    : edit_(edit), maxLength_(maxLength) {}

QValidator::State TypedLengthLimit::validate(QString& input, int&) const {
  // A longer text set by code may still be shortened.
  if (input.size() <= maxLength_ || input.size() < edit_.text().size()) return Acceptable;
  return Invalid;
}

std::unique_ptr<TypedLengthLimit> LimitTypedLength(QLineEdit& edit, int maxLength) {
  auto limit = std::make_unique<TypedLengthLimit>(edit, maxLength);
  edit.setValidator(limit.get());
  return limit;
}

}  // namespace qx
