#include "tests/support/RecordingOperator.h"

namespace qx::test {

MsgAnswer RecordingOperator::Ask(MsgKind kind, std::string_view text, MsgButtons buttons) {
  messages.push_back({kind, std::string(text), buttons});
  if (onAsk) {
    const Message shown = messages.back();  // a box inside it may add to messages
    onAsk(shown);
  }
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

void RecordingOperator::LogLineAdded(const std::string& line) {
  logLines.push_back(line);
  if (onLogLine) onLogLine(line);
}

std::vector<RecordingOperator::UnitEvent> RecordingOperator::Events(u8 unit, Kind kind) const {
  std::vector<UnitEvent> out;
  for (const auto& e : unitEvents) {
    if (e.unit == unit && e.kind == kind) out.push_back(e);
  }
  return out;
}

}  // namespace qx::test
