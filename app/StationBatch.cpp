// Batch mode: the batch start of Timer2 and the exit test of Timer1.
#include <filesystem>
#include <string>
#include <vector>

#include "app/Station.h"
#include "base/Errors.h"
#include "programmer/DownloadChain.h"
#include "images/FileReplace.h"
#include "texts/Texts.h"

namespace qx {

void Station::BatchStart() {
  if (!cmdLineMode_ || batchStarted_) return;
  // Once, whatever follows: a box below runs a nested loop with the timers in it.
  batchStarted_ = true;
  // Why no download starts goes, in a run nobody watches, to the standard error too.
  if (staleResultFile_) {
    Report(MsgKind::Warning, std::string(Text(TextId::BatchStaleResultStands)), false);
    return;
  }
  Operator& op = BatchOperator();
  const std::string& path = cmdLineProjectFile_;
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    const std::string text = Tx(TextId::BatchProjectNotFound, path);
    Report(MsgKind::Information, text, true);
    return;
  }
  if (RefusedWhileBusy(BusyUnits(), op)) return;
  ProjectReadResult read = ProjectReadResult::PrjOk;
  try {
    const ProgramControls shown = projectView_ != nullptr ? projectView_->ShownControls() : ProgramControls{};
    const ProjectLoadResult r = LoadProject(path, shown, op);
    read = r.Read;
    if (read == ProjectReadResult::PrjOk && projectView_ != nullptr) projectView_->ShowLoad(r);
  } catch (const EInOutError& e) {
    Report(MsgKind::Error, e.what(), true);
    return;
  }
  // The reader has logged why: the chip state is not this job's, so no unit may take it.
  if (read != ProjectReadResult::PrjOk) {
    Report(MsgKind::Warning, std::string(Text(TextId::BatchNotStarted)), false);
    return;
  }
  for (u8 k = 0; k < sessions_->UnitCount && k < UnitMax; ++k) {
    batchUnits_.set(k);
    StartChain(k, StartDownloadChipData, AutoChainRule::Keep);
  }
}

void Station::BatchExitTest() {
  if (!Unattended() || batchExited_ || batchUnits_.none()) return;
  for (u8 k = 0; k < UnitMax; ++k) {
    if (batchUnits_.test(k) && (!sessions_->Unit[k].DownloadDone || sessions_->Unit[k].Busy)) return;
  }
  // Once: the box of a failed write and the window's close both run nested loops.
  batchExited_ = true;
  const std::string path = appDir_ + std::string(BatchResultFileName);
  const std::string_view line = Text(TextId::BatchResultLine);
  std::vector<u8> bytes(line.begin(), line.end());
  bytes.push_back('\r');
  bytes.push_back('\n');
  try {
    WriteFileReplacing(path, bytes);
  } catch (const EInOutError& e) {
    // Nobody watches: a box would hold the run for ever.
    BatchOperator().Ask(MsgKind::Error, Tx(TextId::BatchResultNotWritten, std::string(e.what())), MsgButtons::Ok);
    return;
  }
  op_.CloseProgram();
}

}  // namespace qx
