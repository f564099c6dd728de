#pragma once
// An Operator made of parts that live elsewhere: each call goes to the part of its concern.
// The parts outlive it.
#include "base/Operator.h"

namespace qx {

class ComposedOperator : public Operator {
 public:
  ComposedOperator(MessageBoxes& boxes, LogView& log, UnitEvents& units, GridViews& grids, FrameView& frame)
      : boxes_(boxes), log_(log), units_(units), grids_(grids), frame_(frame) {}
  // Another operator's parts with boxes of one's own.
  ComposedOperator(MessageBoxes& boxes, Operator& rest) : ComposedOperator(boxes, rest, rest, rest, rest) {}

  MsgAnswer Ask(MsgKind kind, std::string_view text, MsgButtons buttons) override {
    return boxes_.Ask(kind, text, buttons);
  }
  void AskBinaryOffset() override { boxes_.AskBinaryOffset(); }

  void LogLineAdded(const std::string& line) override { log_.LogLineAdded(line); }
  void LogCleared() override { log_.LogCleared(); }
  void SetInfoCaption(std::string_view text) override { log_.SetInfoCaption(text); }

  void UnitStepBegan(u8 unit, u8 step, const UnitGauge& gauge) override { units_.UnitStepBegan(unit, step, gauge); }
  void UnitProgress(u8 unit, const UnitGauge& gauge) override { units_.UnitProgress(unit, gauge); }
  void UnitStepEnded(u8 unit, u8 step, u8 code, bool ok, const UnitGauge& gauge) override {
    units_.UnitStepEnded(unit, step, code, ok, gauge);
  }
  void AdvanceSerialNumber(u8 unit) override { units_.AdvanceSerialNumber(unit); }

  void ShowMainHex(u32 first, u32 last) override { grids_.ShowMainHex(first, last); }
  void UpdateMainHexRows(u32 firstAddress, u32 lastAddress) override {
    grids_.UpdateMainHexRows(firstAddress, lastAddress);
  }
  void ShowEepData() override { grids_.ShowEepData(); }
  void ResetHexViews() override { grids_.ResetHexViews(); }
  void ShowOptionData() override { grids_.ShowOptionData(); }
  void ChecksumsChanged() override { grids_.ChecksumsChanged(); }
  void MainImageReadBack() override { grids_.MainImageReadBack(); }

  void PortListChanged(std::span<const std::string> entries, std::string_view text) override {
    frame_.PortListChanged(entries, text);
  }
  void ArrangeProgressGauges(u8 unitCount) override { frame_.ArrangeProgressGauges(unitCount); }
  void CloseProgram() override { frame_.CloseProgram(); }

 private:
  MessageBoxes& boxes_;
  LogView& log_;
  UnitEvents& units_;
  GridViews& grids_;
  FrameView& frame_;
};

}  // namespace qx
