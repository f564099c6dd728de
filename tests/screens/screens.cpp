// screens-en, screens-zh: the real program of one build in a given program folder (its
// "ConfigQlt.ini" naming running units), shown until every listed unit is linked; then
// PNGs of the main window, the chip-selection dialog, the AC78x option dialog and the main
// window's main-flash grid holding a file loaded through the Load command.
// scripts/screenshots.sh runs both under Xvfb for docs/.
//
// usage: screens-LANG --dir DIR --out FOLDER
//   writes FOLDER/main-window-LANG.png, chip-select-LANG.png, option-bytes-LANG.png,
//   main-flash-LANG.png
#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTabWidget>
#include <QTimer>
#include <QTranslator>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <numeric>
#include <string>
#include <vector>

#include "app/UnattendedOperator.h"
#include "app/ui/ChipCommands.h"
#include "tests/support/StationProbe.h"
#include "tests/app/ui/NamedControl.h"
#include "app/ui/QtTranslation.h"
#include "images/IntelHexFile.h"

#include "app/ui/MainFrame.h"
#include "app/ui/Program.h"
#include "chips/ChipModelLists.h"
#include "chips/ChipSelect.h"
#include "chips/Makers.h"
#include "chips/ui/AC78xOptBForm.h"
#include "chips/ui/ChipSelForm.h"
#include "texts/Language.h"

namespace {

// Serves the program's events until done or the time is up.
bool ServeUntil(const std::function<bool()>& done, int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < milliseconds) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

bool Save(QWidget& widget, const std::string& path) {
  widget.show();
  widget.raise();
  ServeUntil([] { return false; }, 300);  // laid out and painted
  const bool ok = widget.grab().save(QString::fromStdString(path), "PNG");
  std::printf("%s %s\n", ok ? "wrote" : "could not write", path.c_str());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  const auto usage = [&](std::FILE* to) {
    std::fprintf(to,
                 "usage: %s --dir DIR --out FOLDER\n"
                 "  runs the program of this build over the program folder DIR (its ConfigQlt.ini\n"
                 "  naming running units) and writes its screenshots as PNGs into FOLDER\n",
                 argv[0]);
  };
  std::string dir, out;
  for (int i = 1; i < argc; ++i) {
    const std::string key = argv[i];
    if (key == "--help" || key == "-h") {
      usage(stdout);
      return 0;
    }
    if (i + 1 >= argc) break;
    if (key == "--dir") dir = argv[++i];
    else if (key == "--out") out = argv[++i];
  }
  if (dir.empty() || out.empty()) {
    usage(stderr);
    return 2;
  }
  // The program reads its own command line (a project file starts batch mode): it gets
  // none of these options.
  int programArgc = 1;
  QApplication app(programArgc, argv);
  QTranslator qtTexts;
  qx::InstallQtTranslation(qtTexts);
  if (dir.back() != '/') dir += '/';
  const std::string lang = qx::BuildLanguage() == qx::Language::Chinese ? "zh" : "en";

  qx::Program program(qx::ProgramSetup{dir});
  qx::TGenMFrmARM& window = program.Window();
  window.show();  // its first show runs the start-up; Timer2 then searches the units
  qx::Station& station = program.Core();
  const bool linked = ServeUntil(
      [&] {
        return !program.Controller().Frame().Timer2().isActive() && station.UnitCount() > 0 &&
               station.LinkedCount() >= station.UnitCount();
      },
      20000);
  std::printf("%d of %d units linked\n", station.LinkedCount(), station.UnitCount());
  if (!linked) return 1;

  bool ok = Save(window, out + "/main-window-" + lang + ".png");
  {
    qx::TChipSelForm chooser(station.DialogJob(), &window);
    ok = Save(chooser, out + "/chip-select-" + lang + ".png") && ok;
  }
  {
    // The option bytes of an AutoChip chip as its selection leaves them.
    const qx::u8 maker = qx::IndexOf(qx::Maker::AutoChip);
    const auto models = qx::ModelsOfMaker(maker);
    const auto at = std::find(models.begin(), models.end(), "AC78013xCxx");
    qx::SelectChip(qx::StationProbe::Model(station), maker, *at, static_cast<qx::u8>(at - models.begin()));
    qx::TAC78xOptBForm options(station.DialogJob(), window, &window);
    ok = Save(options, out + "/option-bytes-" + lang + ".png") && ok;
  }
  {
    // That chip chosen in the window (main flash at 0x08000000; its flash driver lies in the
    // folder), then the Load command with an Intel HEX file of every byte value from the
    // start of the flash. A message would wait for a click: it is printed instead.
    window.ShowMessage = [](qx::MsgKind, std::string_view text, qx::MsgButtons buttons) {
      std::printf("message: %.*s\n", static_cast<int>(text.size()), text.data());
      return qx::ClosedBoxAnswer(buttons);
    };
    qx::RunChipReaction(program.Controller());
    std::vector<qx::u8> bytes(256);
    std::iota(bytes.begin(), bytes.end(), 0);
    const std::string file = dir + "every-byte.hex";
    std::ofstream(file, std::ios::binary) << qx::FormatIntelHex(bytes, station.Model().Params.MainFlashStart);
    window.ShowFileDialog = [&file](const qx::FileDialogRequest&) {
      return std::optional<qx::FileDialogChoice>(qx::FileDialogChoice{file, 2});
    };
    window.Run(&qx::TGenMFrmARM::FileOpenBtnClick);
    auto& pages = qx::NamedControl<QTabWidget>(window, "ViewPageCtrl");
    pages.setCurrentWidget(&qx::NamedControl<QWidget>(window, "TabSheetFlash"));
    ok = Save(window, out + "/main-flash-" + lang + ".png") && ok;
  }
  station.CloseAllPorts();
  return ok ? 0 : 1;
}
