#include "app/ui/ProgramMain.h"

#include <QApplication>

#include "app/ui/Program.h"
#include "app/ui/QtText.h"
#include "app/ui/StopSignals.h"
#include "app/ui/QtTranslation.h"
#include "base/AppDir.h"

namespace qx {

int ProgramMain(int argc, char** argv, StopSignalPipe& stops) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QtText(TextId::ProgramTitle));
  QTranslator qtTexts;
  InstallQtTranslation(qtTexts);
  Program program(ProgramSetup{ExecutableDir()});
  // Stopped from outside: the window closes as Exit closes it (ports closed, log written
  // once), every loop ends, and the status tells the caller it was stopped.
  int stoppedBy = 0;
  StopSignals stop(stops, [&](int signo) {
    stoppedBy = signo;
    // Whoever sent the signal will not click: the close's own messages go to the log and stderr.
    program.Core().UnattendedOp().SetActive(true);
    program.Window().close();
    QApplication::exit(128 + signo);
  });
  // The start-up runs whole even for a stop that came before it: it removes an old result
  // file, whose absence tells the caller the batch did not finish, and writes the log's
  // first lines.
  program.Window().show();
  // Stopped while the start-up waited in a box, or before it ran: no loop is left to end.
  if (stop.CarryOutPending()) return 128 + stoppedBy;
  const int status = QApplication::exec();
  return stoppedBy != 0 ? 128 + stoppedBy : status;
}

}  // namespace qx
