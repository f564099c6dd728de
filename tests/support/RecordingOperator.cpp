#include "tests/support/RecordingOperator.h"

namespace qx::test {

MsgAnswer RecordingOperator::Ask(MsgKind kind, std::string_view text, MsgButtons buttons) {
  messages.push_back({kind, std::string(text), buttons});
  if (!answers.empty()) {
    const MsgAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
  switch (buttons) {
    case MsgButtons::YesAbort:
    case MsgButtons::YesNo: return MsgAnswer::Yes;
    default: return MsgAnswer::Ok;
  }
}

}  // namespace qx::test
