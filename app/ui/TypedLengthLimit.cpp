#include "app/ui/TypedLengthLimit.h"

#include <QLineEdit>

namespace qx {

TypedLengthLimit::TypedLengthLimit(QLineEdit& edit, int maxLength)
    : edit_(edit), maxLength_(maxLength), before_(edit.text()), current_(edit.text()) {
  QObject::connect(&edit, &QLineEdit::textChanged, this, [this](const QString& text) {
    // A refused key's own change signal comes after the text was put back: not the text shown.
    if (text != edit_.text()) return;
    before_ = current_;
    current_ = text;
  });
  QObject::connect(&edit, &QLineEdit::textEdited, this, [this](const QString& text) { Edited(text); });
}

void TypedLengthLimit::Edited(const QString& text) {
  // The edit tells of the operator's change before or after its general change signal.
  const QString previous = current_ == text ? before_ : current_;
  // Shortening a longer text set by code is fine; growing past the limit is not.
  if (text.size() <= maxLength_ || text.size() < previous.size()) return;
  const qsizetype grown = text.size() - previous.size();
  const int cursor = edit_.cursorPosition() - static_cast<int>(grown);
  edit_.setText(previous);
  edit_.setCursorPosition(cursor);
}

std::unique_ptr<TypedLengthLimit> LimitTypedLength(QLineEdit& edit, int maxLength) {
  return std::make_unique<TypedLengthLimit>(edit, maxLength);
}

}  // namespace qx
