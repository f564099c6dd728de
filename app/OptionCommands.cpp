#include "app/OptionCommands.h"

#include "app/ImageViews.h"
#include "chips/ControlChangeMaking.h"
#include "chips/MainWindowControls.h"
#include "chips/MakerRegistry.h"
#include "chips/OptionListings.h"
#include "texts/Texts.h"

namespace qx {

// Dispatch on the stored index itself: an unknown index takes Silergy's window set-up but
// not its dialog.
OptionDialog OptionDialogOf(const ChipModel& model) {
  const MakerModule* maker = FindModule(model.Params.ManufacturerIndex);
  return maker == nullptr ? OptionDialog::None : DialogForSubtype(maker->optionDialog, model.Params.Subtype);
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
  const MakerModule* maker = FindModule(model.Params.ManufacturerIndex);
  if (maker != nullptr && maker->currentOptionListing != nullptr) maker->currentOptionListing(log, model);
}

}  // namespace qx
