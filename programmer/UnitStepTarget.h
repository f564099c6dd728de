#pragma once
// What the step chains hand the request builders for one unit, and the checks a step makes
// before it sends.
#include <optional>
#include <span>
#include <string_view>

#include "programmer/Commands.h"
#include "programmer/UnitSessions.h"

namespace qx {

inline CommandTarget UnitTarget(UnitSessions& s, u8 k) {
  return CommandTarget{s.Model, s.Wire, s.Random, *s.Port[k], k, s.Unit[k].StepState, s.UnitCount};
}

// How a starter opens its step, with designated initializers: Step, Text and Length must be
// given (the build fails on a missing one), the rest have their usual values.
struct StepOpening {
  u8 Step;
  std::string_view Text;  // the start line
  u32 Length;             // the bytes the step transfers or works on
  bool BlockMode = false;  // the gauge counts blocks of Length bytes, else time
  std::optional<bool> GaugeRun = std::nullopt;  // empty: left as it is
  u16 Ticks = TicksAfterCommand;
};

// A starter's common part: the step, GaugeRun, the start line and BeginUnitStep. Then the
// starter checks the driver and sends.
void OpenStep(UnitSessions& s, u8 k, const StepOpening& opening);

// Acknowledged data packet: BlockIndex += 4 and the gauge moves to BlockIndex + lead.
void AdvanceBlockGauge(UnitSessions& s, u8 k, int lead);

// Sends the block at BlockIndex of unit k's step.
using BlockSender = void (*)(UnitSessions& s, u8 k);
// The opening of a step of blocks of length bytes: the gauge counts blocks and stops running.
StepOpening BlockStepOpening(u8 step, std::string_view text, u32 length);
// A step of blocks: OpenStep with BlockStepOpening, then SendFirstBlock.
void StartBlockStep(UnitSessions& s, u8 k, u8 step, std::string_view text, u32 length, BlockSender send);
// The first block, unless the step is refused without its driver (RefuseWithoutDriver).
void SendFirstBlock(UnitSessions& s, u8 k, BlockSender send);
// A block acknowledged: the gauge advances (AdvanceBlockGauge) and, while the step has blocks
// left (BlockIndex < BlockCount), the next one goes out. True when none is left: the caller
// goes on to what follows the step.
bool SendNextBlockOrDone(UnitSessions& s, u8 k, int lead, BlockSender send);

// A family with a flash driver but no valid driver loaded would get requests without their
// driver bytes: when the step's request carries any (StepCarriesDriver), the step ends
// failed at once with a line for the unit. True then. Requests without driver bytes go out.
bool RefuseWithoutDriver(UnitSessions& s, u8 k);

// The payload of unit k's reply, all the bytes it carried, when they are at least need (and
// at least one); else the step ends with "Packet Error!" and the span is empty.
std::span<const u8> ReplyPayloadOrFail(UnitSessions& s, u8 k, std::size_t need);
// The bytes unit k's reply carried, however few.
std::span<const u8> ReplyPayload(const UnitSessions& s, u8 k);

}  // namespace qx
