#include "app/ProjectCommands.h"

#include "app/ChipReaction.h"
#include "app/ObjectFileCommands.h"
#include "app/ProjectSettings.h"
#include "chips/MainWindowControls.h"
#include "images/ViewChecksums.h"
#include "project/LogFileWriter.h"
#include "project/ProjectFile.h"
#include "texts/Texts.h"

namespace qx {

namespace {

constexpr u8 kFlagSnDecimal = 0x01;
constexpr u8 kFlagOnlineSn = 0x02;
constexpr u8 kFlagFlashDriver = 0x04;

ProjectFileEnv FileEnv(ProjectEnv& env) {
  return {env.Model, env.Log, env.Op, env.Random, env.Section, env.UnitCount, env.CmdLineMode};
}

// The setting controls as the chip reaction's changes leave them.
void FollowChanges(const WindowChanges& changes, ProgramControls& c) {
  for (const ControlChange& change : changes) {
    if (change.Checked) {
      if (change.Name == ctl::CheckBoxOpt) c.CheckBoxOpt = *change.Checked;
      if (change.Name == ctl::ChkBoxRDP) c.ChkBoxRDP = *change.Checked;
      if (change.Name == ctl::ChkBoxPrgEEP) c.ChkBoxPrgEEP = *change.Checked;
      if (change.Name == ctl::ChkBoxErsEEP) c.ChkBoxErsEEP = *change.Checked;
    }
    if (change.ItemIndex) {
      if (change.Name == ctl::RadioGpVolt) c.RadioGpVolt = *change.ItemIndex;
      if (change.Name == ctl::RadioGroupPIF) c.RadioGroupPIF = *change.ItemIndex;
    }
  }
}

}  // namespace

std::vector<ReactingBox> ChangedReactingBoxes(const ProgramControls& before, const ProgramControls& after) {
  std::vector<ReactingBox> boxes;
  if (before.ChkBoxAuto != after.ChkBoxAuto) boxes.push_back(ReactingBox::ChkBoxAuto);
  if (before.CheckBoxCtrl != after.CheckBoxCtrl) boxes.push_back(ReactingBox::CheckBoxCtrl);
  if (before.CheckBoxSN != after.CheckBoxSN) boxes.push_back(ReactingBox::CheckBoxSN);
  if (before.ChkBoxSNDP != after.ChkBoxSNDP) boxes.push_back(ReactingBox::ChkBoxSNDP);
  return boxes;
}

bool ProjectSaveAllowed(const ChipModel& model, Operator& op) {
  if (!ChipChosen(model, op)) return false;
  if (!model.ObjectLoaded) {
    op.Ask(MsgKind::Information, Text(TextId::PrjLoadObjectFirst), MsgButtons::Ok);
    return false;
  }
  return true;
}

u8 ProjectFlagsOf(const ProgramControls& controls, const ChipParams& params) {
  return static_cast<u8>((controls.ChkBoxSNDP ? kFlagSnDecimal : 0) | (controls.ChkBoxPCSN ? kFlagOnlineSn : 0) |
                         (params.UseFlashDriver ? kFlagFlashDriver : 0));
}

void SavetoProjectFile(const std::string& path, const ProgramControls& controls, ProjectEnv& env) {
  env.Model.ProjectFlags = ProjectFlagsOf(controls, env.Model.Params);
  CollectProgramSettings(controls, env.Model, env.Log);
  ProjectFileEnv file = FileEnv(env);
  WriteProjectFile(path, env.Model.Params.ProtocolKind, file);
}

ProjectLoadResult LoadProjectFile(const std::string& path, const ProgramControls& controls, ProjectEnv& env) {
  ChipModel& m = env.Model;
  ProjectLoadResult r;
  r.Controls = controls;

  const std::string date = env.ShortDate.empty() ? CurrentLogStamp().ShortDate : env.ShortDate;
  env.Log.AddInfoLine(Tx(TextId::PrjLoadLine, path) + date);

  ProjectFileEnv file = FileEnv(env);
  r.Read = ReadProjectFile(path, file);
  if (r.Read != ProjectReadResult::PrjOk) return r;

  m.ObjectLoaded = 1;
  m.ChipSelected = 1;
  m.Params.UseFlashDriver = (m.ProjectFlags & kFlagFlashDriver) != 0 ? 1 : 0;
  r.Controls.ChkBoxSNDP = (m.ProjectFlags & kFlagSnDecimal) != 0;
  r.Controls.ChkBoxPCSN = (m.ProjectFlags & kFlagOnlineSn) != 0;

  ApplyProjectSettings(m, env.Section);

  r.Changes = MCUNameEditChange({m, env.Driver, env.AppDir, env.Log, env.Op});
  FollowChanges(r.Changes, r.Controls);

  // The shown settings come after the family set-up, so the loaded values stand; the model
  // fields that go with them are set before the sums, which cover MainImageOffset's range.
  ShowProjectSettings(m, r.Controls);
  RefreshChecksumsAndViews(m, env.Log, env.Op, r.Actions);

  r.Actions.StatusFilePath = m.ObjectFileName;
  r.StatusFileChecksum = FileChecksumText(m);
  r.StatusChipChecksum = ChipChecksumText(m);
  return r;
}

}  // namespace qx
