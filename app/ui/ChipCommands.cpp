#include "app/ui/ChipCommands.h"

#include <QDialog>
#include <QLineEdit>
#include <QSignalBlocker>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/OptionCommands.h"
#include "app/ui/QtText.h"
#include "chips/ui/AC784xOpbFrm.h"
#include "chips/ui/AC78xOptBForm.h"
#include "chips/ui/AUCUxCfgForm.h"
#include "chips/ui/CfgLCMPxOptForm.h"
#include "chips/ui/CfgSPD117xFRM.h"
#include "chips/ui/ChipSelForm.h"
#include "chips/ui/SlgyCfgFrm.h"
#include "texts/Texts.h"
#include "ui_GenMFrmARM.h"

namespace qx {

namespace {

bool Accepted(TGenMFrmARM& window, QDialog& dialog) { return window.Modal(dialog) == QDialog::Accepted; }

// A dialog of its own for this press, centred on the window and freed when it closes.
template <class Dialog, class... Args>
bool ShowNewDialog(TGenMFrmARM& window, Args&... args) {
  Dialog dialog(args..., &window);
  return Accepted(window, dialog);
}

// Shows the family's option dialog; true when it was left with OK. Its loop holds the job
// (TGenMFrmARM::Modal), so OK writes into the chip it opened on.
bool ShowOptionDialog(MainController& c, OptionDialog which) {
  TGenMFrmARM& w = c.Window();
  ChipModel& m = c.Core().DialogJob();
  Operator& op = w;
  switch (which) {
    case OptionDialog::AC78xOptB: return ShowNewDialog<TAC78xOptBForm>(w, m, op);
    case OptionDialog::AC784xOpb: {
      // The start-up instance; its show handler reads every control from the image.
      auto& form = c.Forms().AC784xOpbFrm;
      if (!form) form = std::make_unique<TAC784xOpbFrm>(m, op, &w);
      return Accepted(w, *form);
    }
    case OptionDialog::AucuCfg: return ShowNewDialog<TAUCUxCfgForm>(w, m);
    case OptionDialog::LcmpOpt: return ShowNewDialog<TCfgLCMPxOptForm>(w, m);
    case OptionDialog::Spd117xCfg: return ShowNewDialog<TCfgSPD117xFRM>(w, m);
    case OptionDialog::SlgyCfg: return ShowNewDialog<TSlgyCfgFrm>(w, m);
    case OptionDialog::None: break;
  }
  return false;
}

void DevButtonClick(MainController& c) {
  Station& s = c.Core();
  // A new chip would change the header bytes and driver segments of running chains.
  if (s.RefusedWhileBusy(s.BusyUnits())) return;
  TChipSelForm form(s.DialogJob(), &c.Window());
  if (Accepted(c.Window(), form) && form.ChipChosen()) return RunChipReaction(c);
  // No leaves the chip as it was and the field shows its name again; when that differs from
  // what the field showed, its change event runs the chip reaction.
  c.Window().Form().MCUNameEdit->setText(QtText(s.Model().ChipName));
}

void BtnOptionCfgClick(MainController& c) {
  const OptionDialog which = OptionDialogOf(c.Core().Model());
  const bool accepted = ShowOptionDialog(c, which);
  Station& s = c.Core();
  ApplyChipChanges(c, s.AfterOptionDialog(which, accepted));
}

}  // namespace

void ApplyChipChanges(MainController& c, const WindowChanges& changes) {
  const std::vector<std::string> unknown = c.Window().ApplyWindowChanges(changes);
  if (unknown.empty()) return;
  std::string names;
  for (const std::string& n : unknown) names += (names.empty() ? "" : ", ") + n;
  throw std::logic_error(Tx(TextId::ChipWindowLacksControl, names));
}

void ShowChosenChip(MainController& c, const WindowChanges& changes) {
  {
    QLineEdit* name = c.Window().Form().MCUNameEdit;
    const QSignalBlocker quiet(name);
    name->setText(QtText(c.Core().Model().ChipName));
  }
  ApplyChipChanges(c, changes);
}

void RunChipReaction(MainController& c) { ShowChosenChip(c, c.Core().ReactToChipName()); }

void BindChipCommands(MainController& c) {
  c.Bind(WindowCommand::DevButtonClick, [&c] { DevButtonClick(c); });
  c.Bind(WindowCommand::MCUNameEditChange, [&c] { ApplyChipChanges(c, c.Core().ReactToChipName()); });
  c.Bind(WindowCommand::BtnOptionCfgClick, [&c] { BtnOptionCfgClick(c); });
  c.Bind(WindowCommand::ShowChipOptionData1Click,
         [&c] { ShowChipOptionData(c.Core().Model(), c.Core().Log()); });
}

}  // namespace qx
