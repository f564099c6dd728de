#include "app/ui/ProgramMain.h"

#include <QApplication>

#include "app/ui/Program.h"
#include "app/ui/QtText.h"
#include "app/ui/StopSignals.h"
#include "app/ui/QtTranslation.h"
#include "base/AppDir.h"

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

int ProgramMain(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QtText(TextId::ProgramTitle));
  QTranslator qtTexts;
  InstallQtTranslation(qtTexts);
  Program program(ProgramSetup{ExecutableDir()});
  // Stopped from outside: the window closes as Exit closes it (ports closed, log written
  // once), every loop ends, and the status tells the caller it was stopped.
  int stoppedBy = 0;
  StopSignals stop([&](int signo) {
    stoppedBy = signo;
    program.Window().close();
    QApplication::exit(128 + signo);
  });
  program.Window().show();
  // Stopped while the start-up waited in a box: no loop of the application is left to end.
  if (stoppedBy != 0) return 128 + stoppedBy;
  const int status = QApplication::exec();
  return stoppedBy != 0 ? 128 + stoppedBy : status;
}

}  // namespace qx
