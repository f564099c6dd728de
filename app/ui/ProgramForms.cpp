#include "app/ui/ProgramForms.h"

#include "app/ui/QtText.h"

namespace qx {

ProgramForms CreateProgramForms(TGenMFrmARM& window, ChipModel& model, MessageLog& log, const std::string& appDir) {
  ProgramForms f;
  f.AC784xOpbFrm = std::make_unique<TAC784xOpbFrm>(model, window, &window);
  window.setWindowTitle(QtText(TextId::MainCaption));
  f.AboutForm = std::make_unique<TAboutForm>(&window);
  f.AboutForm->LabelTilA().setText(QtText(TextId::ProgramTitle));
  f.FormOfsAddr = std::make_unique<TFormOfsAddr>(model, window, &window);
  f.ConfigSNForm = std::make_unique<TConfigSNForm>(model, window, log, &window);
  f.LogCfgForm = std::make_unique<TLogCfgForm>(appDir, log, window, &window);
  window.SetForms(f.AboutForm.get(), f.LogCfgForm.get(), f.FormOfsAddr.get());
  window.SetMessageLog(log);
  return f;
}

}  // namespace qx
