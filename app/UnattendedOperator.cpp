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

namespace {

// Whether the log's newest line carries text: a command that logged a text and then showed
// it has its line already, and one line is enough.
bool JustLogged(const MessageLog& log, std::string_view text) {
  if (log.Lines().empty()) return false;
  // "> ", the time of day, a blank, the text
  const std::string_view last = log.Lines().back();
  const std::size_t afterTime = last.find(' ', 2);
  return last.starts_with("> ") && afterTime != std::string_view::npos && last.substr(afterTime + 1) == text;
}

}  // namespace

MsgAnswer UnattendedOperator::Ask(MsgKind, std::string_view text, MsgButtons buttons) {
  // A line of its own box does not count: two boxes alike each get theirs.
  const bool own = !log_.Lines().empty() && ownLine_ == log_.Lines().size() - 1;
  if (own || !JustLogged(log_, text)) {
    log_.AddInfoLine(text);
    ownLine_ = log_.Lines().size() - 1;
  }
  if (errorOut_) errorOut_(text);
  return ClosedBoxAnswer(buttons);
}

}  // namespace qx
