#include "app/ChipReaction.h"

#include "app/ImageViews.h"
#include "chips/ControlChangeMaking.h"
#include "chips/FamilySetup.h"
#include "texts/Texts.h"

namespace qx {

WindowChanges MCUNameEditChange(const ChipReactionEnv& env) {
  ChipModel& m = env.Model;
  const ChipParams& p = m.Params;
  MessageLog& log = env.Log;
  if (!m.ChipSelected) return {change::Visible(ctl::TabShtOPB, false)};

  m.BootInfoEnd = 0;
  m.AppInfoEnd = 0;
  env.Op.ResetHexViews();

  WindowChanges w = ChipChosenChanges(m);
  log.AddInfoLine(Tx(TextId::ChipSelectedLine, m.ChipName));
  log.AddInfoLine(Tx(TextId::ChipMainEepSizes, p.MainFlashSize, p.EepSize));

  // A missing or bad driver is reported by the loader; the rest of the reaction runs on.
  if (p.UseFlashDriver) LoadFlashDriver(env.Driver, m.ChipName, p.FamilyCode, env.AppDir, env.Op);

  log.AddLine("");
  log.AddInfoLine(Tx(TextId::ChipMainSizeLine, p.MainFlashSize));
  log.AddInfoLine(Tx(TextId::ChipMainStartLine, p.MainFlashStart));
  log.AddInfoLine(Tx(TextId::ChipMainEndLine, p.MainFlashEnd));
  if (p.EepSize > 0) {
    log.AddLine("");
    log.AddInfoLine(Tx(TextId::ChipEepStartLine, p.EepStart));
    log.AddInfoLine(Tx(TextId::ChipEepEndLine, p.EepEnd));
  }

  if (p.OptionCode != 0) {
    ShowOptionData(m, env.Op);
  } else {
    w.push_back(change::Visible(ctl::TabShtOPB, false));
  }
  return w;
}

}  // namespace qx
