// Object files, data-flash files, the memory save, and the "S/N Set" page: the file dialogs
// and controls of the window around the rules of app/ObjectFileCommands and app/SerialNumbers.
#include <QCheckBox>
#include <QLineEdit>
#include <initializer_list>

#include "app/FileDialogs.h"
#include "app/ObjectFileCommands.h"
#include "app/UnitSerialNumbers.h"
#include "app/ui/MainController.h"
#include "app/ui/QtText.h"
#include "app/ui/ShowWindowActions.h"
#include "ui_GenMFrmARM.h"

namespace qx {

namespace {

// The loads write the image that running chains send: refused while a unit is busy.
bool LoadAllowed(MainController& c) {
  return ChipChosen(c.Core().Model(), c.Core().Op()) && !c.Core().RefuseWhileBusy();
}

void LoadCommand(MainController& c, FileDialogDesign design, ObjectFileCommand load) {
  if (!LoadAllowed(c)) return;
  const std::optional<FileDialogChoice> file = c.Window().ChooseFile({FileDialogMode::Open, std::move(design), {}});
  if (!file) return;
  const ObjectCommandResult r = c.Core().RunObjectFileCommand(load, file->Path);
  // The units' own numbers were placed over the image as it was.
  if (r.Done) ForgetSerialNumbers(c.Core());
  ShowWindowActions(c.Window(), r.Actions);
}

// A read-back writes the images as its replies come: the file would hold part of each.
void SaveEepData(MainController& c) {
  if (c.Core().RefuseWhileReadingBack()) return;
  const std::optional<FileDialogChoice> file = c.Window().ChooseFile({FileDialogMode::Save, SaveDialog(), {}});
  if (file) SaveEepDataFile(c.Core().Model(), file->Path);
}

void SaveMemory(MainController& c) {
  if (!SaveMemoryAllowed(c.Core().Model()) || c.Core().RefuseWhileReadingBack()) return;
  const std::optional<FileDialogChoice> file = c.Window().ChooseFile({FileDialogMode::Save, SaveDialog(), {}});
  if (file) SaveMemoryToFile(c.Core().Model(), file->Path, file->FilterIndex);
}

void CheckBoxSNClick(TGenMFrmARM& w) {
  Ui::GenMFrmARM& f = w.Form();
  const bool on = f.CheckBoxSN->isChecked();
  for (QWidget* control : std::initializer_list<QWidget*>{f.AddrEdit, f.SNEdit1, f.GainEdit, f.SNOrderChk, f.ChkBoxPCSN}) {
    control->setEnabled(on);
  }
}

void ChkBoxSNDPClick(TGenMFrmARM& w) {
  QLineEdit& edit = *w.Form().SNEdit1;
  const bool decimal = w.Form().ChkBoxSNDP->isChecked();
  // A text that is not a number raises here and stays as it is.
  edit.setText(QtText(RedisplaySerialNumber(edit.text().toStdString(), decimal)));
}

void ButtonCfgSNClick(MainController& c) {
  Station& st = c.Core();
  if (!ConfigSnAllowed(st.Model(), st.Op()) || st.RefuseWhileBusy()) return;
  if (c.Forms().ConfigSNForm) c.Window().Modal(*c.Forms().ConfigSNForm);
  ForgetSerialNumbers(st);
  st.AfterConfigSn();
}

SerialNumberControls SerialControlsOf(const TGenMFrmARM& w) {
  const Ui::GenMFrmARM& f = w.Form();
  return {f.CheckBoxSN->isChecked(), f.ChkBoxPCSN->isChecked(), f.ChkBoxSNDP->isChecked()};
}

void AdvanceSerialNumber(TGenMFrmARM& w, Station& st, u8 unit) {
  const bool numbered = unit < UnitMax && st.UnitSerial(unit).Active != 0;
  const std::optional<std::string> text = st.SerialNumberAfterChip(SerialControlsOf(w), numbered);
  if (text) w.Form().SNEdit1->setText(QtText(*text));
}

}  // namespace

void BindFileCommands(MainController& controller) {
  MainController& c = controller;
  c.Bind(WindowCommand::FileOpenBtnClick, [&c] { LoadCommand(c, ObjectOpenDialog(), OpenObjectFile); });
  c.Bind(WindowCommand::SpdBtnLoadMoreClick, [&c] { LoadCommand(c, ObjectOpenDialog(), LoadMoreObjectFile); });
  c.Bind(WindowCommand::LoadEepDataFile1Click, [&c] { LoadCommand(c, EepOpenDialog(), LoadEepDataFile); });
  c.Bind(WindowCommand::SaveEepDatatoFile1Click, [&c] { SaveEepData(c); });
  c.Bind(WindowCommand::FileSaveBtnClick, [&c] { SaveMemory(c); });
  c.Bind(WindowCommand::CheckBoxSNClick, [&c] { CheckBoxSNClick(c.Window()); });
  c.Bind(WindowCommand::ChkBoxSNDPClick, [&c] { ChkBoxSNDPClick(c.Window()); });
  c.Bind(WindowCommand::ButtonCfgSNClick, [&c] { ButtonCfgSNClick(c); });
  // Only the station calls it, and the window outlives the station.
  c.Window().OnAdvanceSerialNumber = [&w = c.Window(), &st = c.Core()](u8 unit) { AdvanceSerialNumber(w, st, unit); };
}

}  // namespace qx
