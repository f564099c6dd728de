#pragma once
// The forms that live for the whole run besides the main window, created once at start-up.
#include <memory>
#include <string>

#include "app/ui/AboutForm.h"
#include "app/ui/GenMFrmARM.h"
#include "chips/ui/AC784xOpbFrm.h"
#include "images/ChipModel.h"
#include "images/ui/ConfigSNForm.h"
#include "images/ui/FormOfsAddr.h"
#include "project/ui/LogCfgForm.h"

namespace qx {

// The forms that live for the whole run besides the main window, whose children they are
// (the window outlives them).
struct ProgramForms {
  // The option dialog of the AutoChip subtypes 16 and above; the option button shows it.
  std::unique_ptr<TAC784xOpbFrm> AC784xOpbFrm;
  std::unique_ptr<TAboutForm> AboutForm;
  std::unique_ptr<TFormOfsAddr> FormOfsAddr;
  std::unique_ptr<TConfigSNForm> ConfigSNForm;
  std::unique_ptr<TLogCfgForm> LogCfgForm;
};

// Creates the AC784x option dialog, captions the main window, creates the About box with
// its title and the offset, S/N and log-settings dialogs as its children, and has the
// window show the log. appDir with a trailing '/'.
ProgramForms CreateProgramForms(TGenMFrmARM& window, ChipModel& model, MessageLog& log, const std::string& appDir);

}  // namespace qx
