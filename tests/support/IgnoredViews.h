#pragma once
// The parts of the operator a test or a benchmark does not watch: each ignores every call
// of its concern. An operator that implements the boxes only takes the rest from here.
#include "base/ComposedOperator.h"

namespace qx::test {

class IgnoredLog final : public LogView {
 public:
  void LogLineAdded(const std::string&) override {}
  void LogCleared() override {}
  void SetInfoCaption(std::string_view) override {}
};

class IgnoredUnitEvents final : public UnitEvents {
 public:
  void UnitStepBegan(u8, u8, const UnitGauge&) override {}
  void UnitProgress(u8, const UnitGauge&) override {}
  void UnitStepEnded(u8, u8, u8, bool, const UnitGauge&) override {}
  void AdvanceSerialNumber(u8) override {}
};

class IgnoredGrids final : public GridViews {
 public:
  void ShowMainHex(u32, u32) override {}
  void UpdateMainHexRows(u32, u32) override {}
  void ShowEepData() override {}
  void ResetHexViews() override {}
  void ShowOptionData() override {}
  void ChecksumsChanged() override {}
  void MainImageReadBack() override {}
};

class IgnoredFrame final : public FrameView {
 public:
  void PortListChanged(std::span<const std::string>, std::string_view) override {}
  void ArrangeProgressGauges(u8) override {}
  void CloseProgram() override {}
};

struct IgnoredViews {
  IgnoredLog Log;
  IgnoredUnitEvents Units;
  IgnoredGrids Grids;
  IgnoredFrame Frame;
};

// An operator of the given boxes, every view ignored.
class BoxesOnly : private IgnoredViews, public ComposedOperator {
 public:
  explicit BoxesOnly(MessageBoxes& boxes) : ComposedOperator(boxes, Log, Units, Grids, Frame) {}
};

}  // namespace qx::test
