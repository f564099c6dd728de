#include "app/ui/MainFrame.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QStringList>
#include <QTabWidget>

#include "app/Station.h"
#include "app/ui/GenMFrmARM.h"
#include "app/ui/ProgramForms.h"
#include "app/ui/QtText.h"
#include "texts/Texts.h"
#include "ui_GenMFrmARM.h"

namespace qx {

std::vector<std::string> ProgramArguments(const QStringList& arguments) {
  std::vector<std::string> args;
  for (qsizetype i = 1; i < arguments.size(); ++i) args.push_back(arguments[i].toStdString());
  return args;
}

MainFrame::MainFrame(TGenMFrmARM& window, Station& station, ProgramForms& forms)
    : window_(window),
      station_(station),
      forms_(forms),
      mainGrid_(station.Model(), HexGrid::Main),
      eepGrid_(station.Model(), HexGrid::Eep),
      optionGrid_(station.Model(), HexGrid::Option) {
  window_.SetChipModel(station_.Model());
  window_.AttachGridModel(HexGrid::Main, mainGrid_, mainGrid_);
  window_.AttachGridModel(HexGrid::Eep, eepGrid_, eepGrid_);
  window_.AttachGridModel(HexGrid::Option, optionGrid_, optionGrid_);
  // One owner of the log settings: the station's, which the dialog shows and changes.
  if (forms_.LogCfgForm) {
    forms_.LogCfgForm->BindSettings(station_.DialogLogConfig());
    forms_.LogCfgForm->KeepShortLog = [this] { return station_.CmdLineMode() != 0; };
  }
  window_.SetUnattended(station_.UnattendedOp());

  timer1_.setObjectName(QStringLiteral("Timer1"));
  timer1_.setTimerType(Qt::PreciseTimer);
  timer1_.setInterval(Timer1Interval);
  QObject::connect(&timer1_, &QTimer::timeout, &timer1_, [this] { Timer1Timer(); });
  timer2_.setObjectName(QStringLiteral("Timer2"));
  timer2_.setInterval(Timer2Interval);
  QObject::connect(&timer2_, &QTimer::timeout, &timer2_, [this] { Timer2Timer(); });
  timer1_.start();
}

MainFrame::~MainFrame() {
  timer1_.stop();
  timer2_.stop();
  window_.DetachGridModels();
}

// The window's part of the chip-state reset: the chip page in front, no chip named, the
// data-flash page hidden until a chip with data flash is chosen. The grids took their
// column widths and header texts when they were attached.
void MainFrame::ShowChipPageAndResetViews() {
  Ui::GenMFrmARM& f = window_.Form();
  f.ViewPageCtrl->setCurrentWidget(f.ChipSett);
  f.MCUNameEdit->setText(QtText(TextId::WndMCUNameEdit));
  f.ViewPageCtrl->setTabVisible(f.ViewPageCtrl->indexOf(f.TabSheetEEP), false);
}

void MainFrame::StartUp() {
  Station& st = station_;
  if (forms_.LogCfgForm) {
    forms_.LogCfgForm->LoadLogConfig();
  } else {
    st.LoadLogConfig();
  }
  st.InitMainFormState();
  ShowChipPageAndResetViews();
  st.ResetSessionState();
  st.LoadPortList();
  st.ResetManufacturerIndex();
  // The command line before the result file and the firmware file: a batch logs what it
  // cannot remove or find instead of waiting at a box.
  st.ReadCommandLine(ProgramArguments(QCoreApplication::arguments()));
  st.DeleteStaleResultFile();
  st.CheckLogFolder();
  window_.ArrangeProgressGauges(st.UnitCount());
  st.AddHelloLine();
  // A missing firmware file is shown in a box; Timer2 starts only after it is closed.
  st.LoadFirmwareAtStartUp();
  st.ArmAutoConnect();
  timer2_.start();
}

void MainFrame::Timer1Timer() {
  window_.Run([this] { station_.Timer1Timer(); });
}

void MainFrame::Timer2Timer() {
  // An error (a port that will not open) is shown and the timer goes on, as after a search
  // that found fewer units than listed.
  bool stop = false;
  window_.Run([&] { stop = station_.Timer2Timer(); });
  if (stop) timer2_.stop();
}

}  // namespace qx
