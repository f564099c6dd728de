#pragma once
// A program folder for the real executable: the connection file of simulated units (ten
// unless told), the firmware file, the sample job and its chip's flash driver; what the
// units received, and the log files the program wrote.
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "programmer/CommandCodes.h"
#include "tests/app/SimulatedFolder.h"
#include "tests/app/e2e/BatchJob.h"
#include "tests/app/e2e/ProgramProcess.h"

namespace qx::test {

inline constexpr u8 kUnits = 10;

inline std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct BatchFolder : SimulatedFolder {
  explicit BatchFolder(std::vector<sim::UnitConfig> configs = std::vector<sim::UnitConfig>(kUnits)) {
    Units(std::move(configs));
    FirmwareFile();
    job = WriteBatchJob(dir.Dir());
  }
  u32 Requests(u8 k, u8 command) const {
    const auto st = sim->Stats(k);
    const auto it = st.ByCommand.find(command);
    return it == st.ByCommand.end() ? 0 : it->second;
  }
  // Every main-flash and data-flash block of the job acknowledged by unit k.
  bool TookTheJob(u8 k) const {
    const ChipParams& p = job.Model->Params;
    return Requests(k, CmdDownloadMainBlock) == p.DownloadSize / 4096 &&
           Requests(k, CmdDownloadEepBlock) == p.EepSize / 4096;
  }
  std::vector<std::string> LogFiles() const {
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path() / "KVTxLogS", ec)) files.push_back(e.path());
    return files;
  }
  // The one log file's text; empty (and a failure) unless there is exactly one.
  std::string TheLog() const {
    const auto files = LogFiles();
    EXPECT_EQ(files.size(), 1u);
    return files.size() == 1 ? ReadText(files[0]) : std::string();
  }

  BatchJob job;
};

// Stopped by sig: the status says so, as 128 + the signal's number, which also shows that
// the program was still open when the stop came (it did not end by itself before).
inline void ExpectStoppedBy(ProgramProcess& program, int sig) {
  ASSERT_TRUE(program.Signal(sig)) << "the program ended by itself: " << program.Output();
  ASSERT_TRUE(program.WaitForExit(std::chrono::seconds(60))) << program.Output();
  const int status = *program.Status();
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 128 + sig);
}

#ifdef QX_PROGRAM_PATH
inline const char* const kProgram = QX_PROGRAM_PATH;
#else
inline const char* const kProgram = nullptr;
#endif

#define QX_NEED_PROGRAM() \
  if (kProgram == nullptr) GTEST_SKIP() << "built without the executables"

}  // namespace qx::test
