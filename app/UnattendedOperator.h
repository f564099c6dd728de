#pragma once
// The operator of a run nobody watches (batch mode with "OFF"): a message box would wait
// for a click that never comes, so each becomes a log line, goes to the standard error for
// whoever started the run, and is answered as a box closed without a button. Everything
// else reaches the view as it is.
#include <functional>

#include "base/MessageLog.h"
#include "base/Operator.h"

namespace qx {

class UnattendedOperator final : public Operator {
 public:
  using ErrorOut = std::function<void(std::string_view line)>;
  UnattendedOperator(Operator& view, MessageLog& log, ErrorOut errorOut = WriteStandardError)
      : view_(view), log_(log), errorOut_(std::move(errorOut)) {}
  void SetErrorOut(ErrorOut errorOut) { errorOut_ = std::move(errorOut); }
  // Whether the run is unattended now: the view's boxes come here only then.
  bool Active() const { return active_; }
  void SetActive(bool active) { active_ = active; }

  // One line on the standard error, whole.
  static void WriteStandardError(std::string_view line);

  MsgAnswer Ask(MsgKind kind, std::string_view text, MsgButtons buttons) override;

  // Every other call of the interface goes to the view unchanged.
  void LogLineAdded(const std::string& line) override { view_.LogLineAdded(line); }
  void LogCleared() override { view_.LogCleared(); }
  void SetInfoCaption(std::string_view text) override { view_.SetInfoCaption(text); }
  void PortListChanged(std::span<const std::string> entries, std::string_view text) override {
    view_.PortListChanged(entries, text);
  }
  void ArrangeProgressGauges(u8 unitCount) override { view_.ArrangeProgressGauges(unitCount); }
  void UnitStepBegan(u8 unit, u8 step, const UnitGauge& gauge) override { view_.UnitStepBegan(unit, step, gauge); }
  void UnitProgress(u8 unit, const UnitGauge& gauge) override { view_.UnitProgress(unit, gauge); }
  void UnitStepEnded(u8 unit, u8 step, u8 code, bool ok, const UnitGauge& gauge) override {
    view_.UnitStepEnded(unit, step, code, ok, gauge);
  }
  void ShowMainHex(u32 first, u32 last) override { view_.ShowMainHex(first, last); }
  void UpdateMainHexRows(u32 firstAddress, u32 lastAddress) override {
    view_.UpdateMainHexRows(firstAddress, lastAddress);
  }
  void ShowEepData() override { view_.ShowEepData(); }
  void ResetHexViews() override { view_.ResetHexViews(); }
  void ShowOptionData() override { view_.ShowOptionData(); }
  void ChecksumsChanged() override { view_.ChecksumsChanged(); }
  void MainImageReadBack() override { view_.MainImageReadBack(); }
  void AskBinaryOffset() override {}  // nobody to ask: the preset offset stands
  void AdvanceSerialNumber(u8 unit) override { view_.AdvanceSerialNumber(unit); }
  void CloseProgram() override { view_.CloseProgram(); }

 private:
  Operator& view_;
  MessageLog& log_;
  ErrorOut errorOut_;
  bool active_ = false;
  std::size_t ownLine_ = static_cast<std::size_t>(-1);  // the log line its last box added
};

// The answer of a box closed without a button: the one that confirms nothing.
MsgAnswer ClosedBoxAnswer(MsgButtons buttons);

}  // namespace qx
