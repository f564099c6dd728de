// Project save and load in the main window: the project file dialogs and guards around the
// station's project commands, and a loaded project shown in the window. The batch start's
// load is shown the same way.
#include <optional>
#include <stdexcept>
#include <string>

#include "app/FileDialogs.h"
#include "app/ProjectCommands.h"
#include "app/ui/ChipCommands.h"
#include "app/ui/MainController.h"
#include "app/ui/ShowWindowActions.h"
#include "app/ui/WindowControls.h"

namespace qx {

namespace {

std::optional<FileDialogChoice> ChooseProject(TGenMFrmARM& w, FileDialogMode mode, FileDialogDesign design,
                                              std::string title) {
  if (!w.ShowFileDialog) return std::nullopt;
  return w.ShowFileDialog(FileDialogRequest{mode, std::move(design), std::move(title)});
}

// The click handlers a load runs for the boxes it changed, as the operator's clicks would.
TGenMFrmARM::Handler ClickHandlerOf(std::string_view box) {
  if (box == "ChkBoxAuto") return &TGenMFrmARM::ChkBoxAutoClick;
  if (box == "CheckBoxCtrl") return &TGenMFrmARM::CheckBoxCtrlClick;
  if (box == "CheckBoxSN") return &TGenMFrmARM::CheckBoxSNClick;
  if (box == "ChkBoxSNDP") return &TGenMFrmARM::ChkBoxSNDPClick;
  throw std::logic_error("no click handler for " + std::string(box));
}

// The chip reaction's window changes (the chip name shown without running the reaction a
// second time), the loaded settings in every control, the click handlers so the enabled
// states follow, then the views' page and the status bar.
void ShowProjectLoad(MainController& c, const ProjectLoadResult& r) {
  TGenMFrmARM& w = c.Window();
  ShowChosenChip(c, r.Changes);
  ShowProgramControls(w, r.Controls);
  for (const std::string_view box : r.ClickHandlers) w.Run(ClickHandlerOf(box));
  ShowWindowActions(w, r.Actions);
  w.SetStatusPanel(0, r.StatusFileChecksum);
  w.SetStatusPanel(1, r.StatusChipChecksum);
}

void SavetoProjectFile1Click(MainController& c) {
  Station& st = c.Core();
  if (!ProjectSaveAllowed(st.Model(), c.Window())) return;
  const auto file = ChooseProject(c.Window(), FileDialogMode::Save, ProjectSaveDialog(), ProjectSaveDialogTitle());
  if (file) st.SavetoProjectFile(file->Path, ReadProgramControls(c.Window()));
}

void SpdBtnLdPrjClick(MainController& c) {
  Station& st = c.Core();
  // A load replaces the job that running chains send.
  if (st.RefuseWhileBusy()) return;
  const auto file = ChooseProject(c.Window(), FileDialogMode::Open, ProjectOpenDialog(), ProjectOpenDialogTitle());
  // The dialog's loop serves the timers: a batch start may have begun its downloads.
  if (!file || st.RefuseWhileBusy()) return;
  st.LoadProjectFile(file->Path);
}

}  // namespace

void BindProjectCommands(MainController& controller) {
  MainController& c = controller;
  TGenMFrmARM& w = c.Window();
  c.Core().SetProjectView({[&w] { return ReadProgramControls(w); }, [&w] { w.ResetHexViews(); },
                           [&c](const ProjectLoadResult& r) { ShowProjectLoad(c, r); }});
  c.Bind(WindowCommand::SavetoProjectFile1Click, [&c] { SavetoProjectFile1Click(c); });
  c.Bind(WindowCommand::SpdBtnLdPrjClick, [&c] { SpdBtnLdPrjClick(c); });
}

}  // namespace qx
