#include "app/UnattendedOperator.h"

#include <unistd.h>

#include <string>

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

void UnattendedOperator::WriteStandardError(std::string_view line) {
  std::string whole(line);
  whole += '\n';
  // One write: lines of a run stay apart from whatever else writes there.
  [[maybe_unused]] const ssize_t n = ::write(STDERR_FILENO, whole.data(), whole.size());
}

MsgAnswer UnattendedOperator::Ask(MsgKind, std::string_view text, MsgButtons buttons) {
  log_.AddInfoLine(text);
  if (errorOut_) errorOut_(text);
  return ClosedBoxAnswer(buttons);
}

}  // namespace qx
