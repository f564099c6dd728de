#pragma once
// The modal message box of the operator interface: a QMessageBox with the designed
// buttons, captioned from the catalogue. Its nested event loop keeps serving the ports'
// events and the timers while it is open.
#include <memory>
#include <string_view>

#include "base/Operator.h"

class QMessageBox;
class QWidget;

namespace qx {

MsgAnswer ShowMessageBox(QWidget* parent, MsgKind kind, std::string_view text, MsgButtons buttons);

// The box as shown: icon of the kind, the program's title, the text, the designed buttons
// with their captions, the first one the default.
std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, MsgKind kind, std::string_view text, MsgButtons buttons);
// The answer of a box that has closed.
MsgAnswer AnswerOf(const QMessageBox& box, MsgButtons buttons);

}  // namespace qx
