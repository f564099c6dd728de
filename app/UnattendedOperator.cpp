#include "app/UnattendedOperator.h"

namespace qx {

MsgAnswer ClosedBoxAnswer(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::OkAbort:
    case MsgButtons::YesAbort: return MsgAnswer::Abort;
    case MsgButtons::YesNo: return MsgAnswer::No;
    case MsgButtons::OkCancel: return MsgAnswer::Cancel;
    case MsgButtons::Ok: break;
  }
  return MsgAnswer::Ok;
}

MsgAnswer UnattendedOperator::Ask(MsgKind, std::string_view text, MsgButtons buttons) {
  log_.AddInfoLine(text);
  return ClosedBoxAnswer(buttons);
}

}  // namespace qx
