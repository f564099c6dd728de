#include "app/OptionCommands.h"

#include "app/ImageViews.h"
#include "chips/ControlChangeMaking.h"
#include "chips/MainWindowControls.h"
#include "chips/Makers.h"
#include "chips/OptionListings.h"
#include "texts/Texts.h"

namespace qx {

namespace {

constexpr u8 kAC784xSubtype = 16;

}  // namespace

// Dispatch on the stored index itself: an unknown index takes Silergy's window set-up but
// not its dialog.
OptionDialog OptionDialogOf(const ChipModel& model) {
  switch (model.Params.ManufacturerIndex) {
    case IndexOf(Maker::AutoChip):
      return model.Params.Subtype < kAC784xSubtype ? OptionDialog::AC78xOptB : OptionDialog::AC784xOpb;
    case IndexOf(Maker::Aucu): return OptionDialog::AucuCfg;
    case IndexOf(Maker::Lcm): return OptionDialog::LcmpOpt;
    case IndexOf(Maker::Spintrol): return OptionDialog::Spd117xCfg;
    case IndexOf(Maker::Silergy): return OptionDialog::SlgyCfg;
    default: return OptionDialog::None;
  }
}

WindowChanges AfterOptionDialog(OptionDialog dialog, bool accepted, ChipModel& model, MessageLog& log, Operator& op) {
  switch (dialog) {
    case OptionDialog::AC78xOptB: ShowCurrentOptionAC78x(log, model); break;
    case OptionDialog::AucuCfg: ShowCurrentOptionAucu(log, model); break;
    case OptionDialog::LcmpOpt: ShowCurrentOptionLcmp(log, model); break;
    case OptionDialog::SlgyCfg: LogSilergyProtection(model, log); break;
    case OptionDialog::None:
    case OptionDialog::AC784xOpb:
    case OptionDialog::Spd117xCfg: break;
  }
  WindowChanges w;
  if (dialog != OptionDialog::None && accepted) {
    ControlChange box = change::Named(ctl::CheckBoxOpt);
    box.Checked = model.OptionsChanged != 0;
    w.push_back(box);
  }
  if (model.Params.OptionCode != 0) ShowOptionData(model, op);
  return w;
}

void LogSilergyProtection(const ChipModel& model, MessageLog& log) {
  log.AddInfoLine(Text((model.ProtectBits & 1) != 0 ? TextId::SlgyDirectReadDisabled : TextId::SlgyDirectReadNormal));
  log.AddInfoLine(Text((model.ProtectBits & 2) != 0 ? TextId::SlgyIndirectReadDisabled : TextId::SlgyIndirectReadNormal));
}

void ShowChipOptionData(const ChipModel& model, MessageLog& log) {
  switch (model.Params.ManufacturerIndex) {
    case IndexOf(Maker::AutoChip): ShowCurrentOptionAC78x(log, model); break;
    case IndexOf(Maker::Aucu): ShowCurrentOptionAucu(log, model); break;
    case IndexOf(Maker::Lcm): ShowCurrentOptionLcmp(log, model); break;
    default: break;
  }
}

}  // namespace qx
