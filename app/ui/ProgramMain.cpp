#include "app/ui/ProgramMain.h"

#include <QApplication>

#include "app/ui/Program.h"
#include "app/ui/QtText.h"
#include "app/ui/StopSignals.h"
#include "app/ui/QtTranslation.h"
#include "base/AppDir.h"

namespace qx {

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
    // Whoever sent the signal will not click: the close's own messages go to the log and stderr.
    program.Core().UnattendedOp().SetActive(true);
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
