// Project save and load in the main window: the project file dialogs and guards around the
// station's project commands, and a loaded project shown in the window. The batch start's
// load is shown the same way.
#include <optional>
#include <string>

#include "app/FileDialogs.h"
#include "app/ProjectCommands.h"
#include "app/ui/ChipCommands.h"
#include "app/ui/MainController.h"
#include "app/ui/ShowWindowActions.h"
#include "app/ui/WindowControls.h"
#include "app/ui/WindowProjectView.h"

namespace qx {

namespace {

// A load changes the boxes without their clicks: the window runs what a click would.
TGenMFrmARM::Handler ClickHandlerOf(ReactingBox box) {
  switch (box) {
    case ReactingBox::ChkBoxAuto: return &TGenMFrmARM::ChkBoxAutoClick;
    case ReactingBox::CheckBoxCtrl: return &TGenMFrmARM::CheckBoxCtrlClick;
    case ReactingBox::CheckBoxSN: return &TGenMFrmARM::CheckBoxSNClick;
    case ReactingBox::ChkBoxSNDP: return &TGenMFrmARM::ChkBoxSNDPClick;
  }
  return nullptr;
}

// The chip reaction's window changes (the chip name shown without running the reaction a
// second time), the loaded settings in every control, the click reactions of the boxes
// the load changed so the enabled states follow, then the views' page and the status bar.
void ShowProjectLoad(MainController& c, const ProjectLoadResult& r) {
  TGenMFrmARM& w = c.Window();
  const ProgramControls before = ReadProgramControls(w);
  ShowChosenChip(c, r.Changes);
  ShowProgramControls(w, r.Controls);
  for (const ReactingBox box : ChangedReactingBoxes(before, r.Controls)) {
    if (const TGenMFrmARM::Handler h = ClickHandlerOf(box)) w.Run(h);
  }
  ShowWindowActions(w, r.Actions);
  w.SetStatusPanel(0, r.StatusFileChecksum);
  w.SetStatusPanel(1, r.StatusChipChecksum);
}

void SavetoProjectFile1Click(MainController& c) {
  Station& st = c.Core();
  if (!ProjectSaveAllowed(st.Model(), c.Window())) return;
  // A read-back writes the images as its replies come: the file would hold part of each.
  if (st.RefuseWhileReadingBack()) return;
  const auto file = c.Window().ChooseFile({FileDialogMode::Save, ProjectSaveDialog(), ProjectSaveDialogTitle()});
  if (file) st.SavetoProjectFile(file->Path, ReadProgramControls(c.Window()));
}

void SpdBtnLdPrjClick(MainController& c) {
  Station& st = c.Core();
  // A load replaces the job that running chains send.
  if (st.RefuseWhileBusy()) return;
  const auto file = c.Window().ChooseFile({FileDialogMode::Open, ProjectOpenDialog(), ProjectOpenDialogTitle()});
  if (!file) return;
  const ProjectLoadResult r = st.LoadProjectFile(file->Path, ReadProgramControls(c.Window()));
  if (r.Read == ProjectReadResult::PrjOk) ShowProjectLoad(c, r);
}

}  // namespace

ProgramControls WindowProjectView::ShownControls() const { return ReadProgramControls(controller_.Window()); }

void WindowProjectView::ShowLoad(const ProjectLoadResult& r) { ShowProjectLoad(controller_, r); }

void BindProjectCommands(MainController& controller) {
  MainController& c = controller;
  c.Bind(WindowCommand::SavetoProjectFile1Click, [&c] { SavetoProjectFile1Click(c); });
  c.Bind(WindowCommand::SpdBtnLdPrjClick, [&c] { SpdBtnLdPrjClick(c); });
}

}  // namespace qx
