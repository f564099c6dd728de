#include "app/ui/ProgramMain.h"

#include <QApplication>

#include "app/ui/QtText.h"
#include "base/AppDir.h"

namespace qx {

ProgramForms CreateProgramForms(ChipModel& model, MessageLog& log, const std::string& appDir) {
  ProgramForms f;
  f.GenMFrmARM = std::make_unique<TGenMFrmARM>();
  TGenMFrmARM& window = *f.GenMFrmARM;
  window.setWindowTitle(QtText(TextId::MainCaption));
  f.AboutForm = std::make_unique<TAboutForm>(&window);
  f.AboutForm->LabelTilA().setText(QtText(TextId::ProgramTitle));
  f.FormOfsAddr = std::make_unique<TFormOfsAddr>(model, window, &window);
  f.ConfigSNForm = std::make_unique<TConfigSNForm>(model, window, &window);
  f.LogCfgForm = std::make_unique<TLogCfgForm>(appDir, log, window, &window);
  window.SetForms(f.AboutForm.get(), f.LogCfgForm.get());
  window.SetMessageLog(log);
  return f;
}

int ProgramMain(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QtText(TextId::ProgramTitle));
  // Until the station owns the run, the chip model and the log live here.
  auto model = std::make_unique<ChipModel>();
  MessageLog log;
  const ProgramForms forms = CreateProgramForms(*model, log, ExecutableDir());
  forms.GenMFrmARM->show();
  return QApplication::exec();
}

}  // namespace qx
