#pragma once
// The operator of a run nobody watches (batch mode with "OFF"): a message box would wait
// for a click that never comes, so each becomes a log line, goes to the standard error for
// whoever started the run, and is answered as a box closed without a button. It answers
// the boxes only: the station composes it with the view's other parts.
#include <functional>

#include "base/MessageLog.h"
#include "base/Operator.h"

namespace qx {

class UnattendedOperator final : public MessageBoxes {
 public:
  using ErrorOut = std::function<void(std::string_view line)>;
  explicit UnattendedOperator(MessageLog& log, ErrorOut errorOut = WriteStandardError)
      : log_(log), errorOut_(std::move(errorOut)) {}
  void SetErrorOut(ErrorOut errorOut) { errorOut_ = std::move(errorOut); }
  // Whether the run is unattended now: the view's boxes come here only then.
  bool Active() const { return active_; }
  void SetActive(bool active) { active_ = active; }

  // One line on the standard error, whole.
  static void WriteStandardError(std::string_view line);

  MsgAnswer Ask(MsgKind kind, std::string_view text, MsgButtons buttons) override;

  void AskBinaryOffset() override {}  // nobody to ask: the preset offset stands

 private:
  MessageLog& log_;
  ErrorOut errorOut_;
  bool active_ = false;
  std::size_t ownLine_ = static_cast<std::size_t>(-1);  // the log line its last box added
};

// The answer of a box closed without a button: the one that confirms nothing.
MsgAnswer ClosedBoxAnswer(MsgButtons buttons);

}  // namespace qx
