#pragma once
// The program's entry: the application object, the main window and the forms created
// once at start-up, then the message loop.
#include <memory>
#include <string>

#include "app/ui/AboutForm.h"
#include "app/ui/GenMFrmARM.h"
#include "images/ChipModel.h"
#include "images/ui/ConfigSNForm.h"
#include "images/ui/FormOfsAddr.h"
#include "project/ui/LogCfgForm.h"

namespace qx {

// The forms that live for the whole run. The dialogs are the window's children, so the
// window is declared first and destroyed last.
struct ProgramForms {
  std::unique_ptr<TGenMFrmARM> GenMFrmARM;
  std::unique_ptr<TAboutForm> AboutForm;
  std::unique_ptr<TFormOfsAddr> FormOfsAddr;
  std::unique_ptr<TConfigSNForm> ConfigSNForm;
  std::unique_ptr<TLogCfgForm> LogCfgForm;
};

// Creates the main window (captioned, showing the log), the About box with its title and
// the offset, S/N and log-settings dialogs. appDir with a trailing '/'.
ProgramForms CreateProgramForms(ChipModel& model, MessageLog& log, const std::string& appDir);

int ProgramMain(int argc, char** argv);

}  // namespace qx
