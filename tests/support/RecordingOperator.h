#pragma once
// An Operator that records what the core showed and answers message boxes from a queue.
#include <deque>
#include <string>
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

  MsgAnswer Ask(MsgKind kind, std::string_view text, MsgButtons buttons) override;
  void SetInfoCaption(std::string_view text) override { captions.emplace_back(text); }
  void UnitGaugeChanged(int unit) override { gaugeChanges.push_back(unit); }
  void Refresh(View view) override { refreshes.push_back(view); }

  // Answers for the next message boxes, in order; when empty the first button's answer
  // (Ok or Yes) is given.
  std::deque<MsgAnswer> answers;

  std::vector<Message> messages;
  std::vector<std::string> captions;
  std::vector<int> gaugeChanges;
  std::vector<View> refreshes;
};

}  // namespace qx::test
