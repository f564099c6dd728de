#pragma once
// The project commands of the main window: save the current job to a project file, and
// open one (also the batch mode's load). The window runs the file dialog (ProjectSaveDialog,
// ProjectOpenDialog of app/FileDialogs.h) and applies what the load returns.
#include <string>
#include <string_view>
#include <vector>

#include "app/ImageViews.h"
#include "app/ProgramSettings.h"
#include "base/MessageLog.h"
#include "base/Operator.h"
#include "chips/WindowChanges.h"
#include "images/ChipModel.h"
#include "programmer/FlashDriver.h"
#include "programmer/RandomSource.h"
#include "project/ProjectFileFormat.h"

namespace qx {

struct ProjectEnv {
  ChipModel& Model;
  FlashDriver& Driver;
  std::string_view AppDir;  // the program folder, with a trailing '/'
  MessageLog& Log;
  Operator& Op;
  RandomSource& Random;
  ProjectSectionBuffer& Section;
  u8 UnitCount = 1;          // the saved settings block carries SnGain times this count
  bool CmdLineMode = false;  // batch mode: the reader's outcome is logged, not shown
  // The date the load line ends with; empty: today's, in the short date form.
  std::string ShortDate{};
};

// --- Save ------------------------------------------------------------------------------

// Before the save dialog: a chosen chip ("Please select chip type first!"), then a loaded
// object ("Please load the object file first!"), each an information box.
bool ProjectSaveAllowed(const ChipModel& model, Operator& op);

// Bit 0 "S/N Decimal Display", bit 1 "Enable Online SN", bit 2 UseFlashDriver.
u8 ProjectFlagsOf(const ProgramControls& controls, const ChipParams& params);

// ProjectFlags, the settings collection (a bad number field raises EConvertError and
// nothing is written), then the file, with ProtocolKind as the programmer type.
void SavetoProjectFile(const std::string& path, const ProgramControls& controls, ProjectEnv& env);

// --- Load ------------------------------------------------------------------------------

struct ProjectLoadResult {
  // Anything but PrjOk: the reader has reported it and nothing else changed (the chip
  // state, the images and Controls are as they were, the lists below are empty).
  ProjectReadResult Read = ProjectReadResult::PrjOk;
  // The window then, in this order: applies Changes (the chip reaction's family set-up),
  // shows Controls in every setting control, runs its own reaction to each box of
  // ChangedReactingBoxes (what it showed before, Controls), so the enabled states follow
  // (SNEdit1 already has its final text in the form ChkBoxSNDP asks for), and shows the
  // status-bar texts.
  WindowChanges Changes;
  ProgramControls Controls;
  WindowActions Actions;  // the refresh's page to the front; StatusFilePath: panel 2
  std::string StatusFileChecksum;  // panel 0
  std::string StatusChipChecksum;  // panel 1
};

// The check boxes whose state other controls follow, in the order their reactions run.
enum class ReactingBox : u8 { ChkBoxAuto, CheckBoxCtrl, CheckBoxSN, ChkBoxSNDP };
std::vector<ReactingBox> ChangedReactingBoxes(const ProgramControls& before, const ProgramControls& after);

// The whole load: the log line, the reader, the flags, ApplyProjectSettings, the chip
// reaction (on every good file, also for the chip shown already), ShowProjectSettings over
// what the reaction leaves, then the sums and views (over the loaded MainImageOffset).
// controls: what the window's setting controls show now. Throws EInOutError when the file
// cannot be read.
ProjectLoadResult LoadProjectFile(const std::string& path, const ProgramControls& controls, ProjectEnv& env);

}  // namespace qx
