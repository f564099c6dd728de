#pragma once
// A number field of an option dialog that is not an integer: the message box, then the
// field gets the focus with its text selected so it can be typed over.
#include <QLineEdit>
#include <initializer_list>

#include "base/Operator.h"
#include "chips/OptionFieldError.h"

namespace qx {

inline void ShowFieldError(Operator& op, const OptionFieldError& error, std::initializer_list<QLineEdit*> fields) {
  op.Ask(MsgKind::Error, error.Message, MsgButtons::Ok);
  if (error.Field >= fields.size()) return;
  QLineEdit* field = fields.begin()[error.Field];
  field->setFocus();
  field->selectAll();
}

}  // namespace qx
