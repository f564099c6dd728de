#pragma once
// An Operator that records what the core showed, as typed events, and answers message
// boxes from a queue.
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/Operator.h"

namespace qx::test {

class RecordingOperator : public Operator {
 public:
  struct Message {
    MsgKind kind;
    std::string text;
    MsgButtons buttons;
  };
  struct UnitEvent {
    enum class Kind : u8 { Began, Progress, Ended };
    Kind kind;
    u8 unit;
    u8 step;  // Began and Ended
    u8 code;  // Ended
    bool ok;  // Ended
    UnitGauge gauge;
  };
  using Kind = UnitEvent::Kind;

  MsgAnswer Ask(MsgKind kind, std::string_view text, MsgButtons buttons) override;
  void AskBinaryOffset() override { ++offsetAsks; }
  void LogLineAdded(const std::string& line) override;
  void LogCleared() override { ++logClears; }
  void SetInfoCaption(std::string_view text) override { captions.emplace_back(text); }
  void PortListChanged(std::span<const std::string> entries, std::string_view text) override {
    portLists.emplace_back(entries.begin(), entries.end());
    portTexts.emplace_back(text);
  }
  void ArrangeProgressGauges(u8 unitCount) override { gaugeLayouts.push_back(unitCount); }
  void UnitStepBegan(u8 unit, u8 step, const UnitGauge& gauge) override {
    unitEvents.push_back({Kind::Began, unit, step, 0, false, gauge});
  }
  void UnitProgress(u8 unit, const UnitGauge& gauge) override {
    unitEvents.push_back({Kind::Progress, unit, 0, 0, false, gauge});
  }
  void UnitStepEnded(u8 unit, u8 step, u8 code, bool ok, const UnitGauge& gauge) override {
    unitEvents.push_back({Kind::Ended, unit, step, code, ok, gauge});
  }
  void ShowMainHex(u32 first, u32 last) override { mainHex.emplace_back(first, last); }
  void UpdateMainHexRows(u32 first, u32 last) override { mainHexRows.emplace_back(first, last); }
  void ShowEepData() override { ++eepShows; }
  void ResetHexViews() override { ++hexResets; }
  void ShowOptionData() override { ++optionShows; }
  void ChecksumsChanged() override { ++checksumChanges; }
  void MainImageReadBack() override { ++mainReadBacks; }
  void AdvanceSerialNumber(u8 unit) override { serialAdvances.push_back(unit); }
  void CloseProgram() override {
    ++closeRequests;
    if (onClose) onClose();
  }

  // The unit's events of one kind, in order.
  std::vector<UnitEvent> Events(u8 unit, Kind kind) const;
  // The unit's step ends, in order.
  std::vector<UnitEvent> Ends(u8 unit) const { return Events(unit, Kind::Ended); }

  // Answers for the next message boxes, in order; when empty the first button's answer
  // (Ok or Yes) is given.
  std::deque<MsgAnswer> answers;
  // Runs for every log line after it was recorded (a test may throw from it).
  std::function<void(const std::string&)> onLogLine;
  // Runs for every message box after it was recorded, as its nested loop would.
  std::function<void(const Message&)> onAsk;
  // Runs for every close request after it was counted.
  std::function<void()> onClose;

  std::vector<Message> messages;
  int offsetAsks = 0;
  std::vector<std::string> logLines;
  int logClears = 0;
  std::vector<std::string> captions;
  std::vector<std::vector<std::string>> portLists;
  std::vector<std::string> portTexts;
  std::vector<u8> gaugeLayouts;
  std::vector<UnitEvent> unitEvents;
  std::vector<std::pair<u32, u32>> mainHex;
  std::vector<std::pair<u32, u32>> mainHexRows;
  int eepShows = 0;
  int hexResets = 0;
  int optionShows = 0;
  int checksumChanges = 0;
  int mainReadBacks = 0;
  std::vector<u8> serialAdvances;
  int closeRequests = 0;
};

}  // namespace qx::test
