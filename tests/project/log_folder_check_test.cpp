// The start-up's look at where the log will be written: it finds what the writer at close
// would fail on, and nothing where the writer succeeds.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>

#include "project/LogFileWriter.h"
#include "project/LogFolderCheck.h"
#include "tests/project/ProjectTestSupport.h"
#include "tests/support/RecordingOperator.h"

namespace qx {
namespace {

LogSettings Customer(int mode, const std::string& name) {
  LogSettings s;
  s.Location = LogLocationCustomer;
  s.Mode = mode;
  s.FileName = name;
  return s;
}

TEST(LogFolderCheck, FindsWhatTheWriterAtCloseWouldFailOn) {
  const struct {
    const char* name;
    std::function<void(test::ProjectTempDir&)> setup;
    LogSettings settings;
    const char* problem;  // relative to the program folder; null: none
    int error;
  } cases[] = {
      {"system log, no log folder yet", nullptr, LogSettings{}, nullptr, 0},
      {"system log, the log folder there", [](auto& d) { std::filesystem::create_directory(d.File("KVTxLogS")); },
       LogSettings{}, nullptr, 0},
      {"system log, a file where the folder belongs", [](auto& d) { test::WriteAllText(d.File("KVTxLogS"), "x"); },
       LogSettings{}, "KVTxLogS", ENOTDIR},
      {"customer log in the program folder", nullptr, Customer(LogModeCreate, "run.log"), nullptr, 0},
      {"customer log in a folder that is missing", nullptr, Customer(LogModeOverwrite, "none/run.log"), "none", ENOENT},
      {"appended to a file in a folder that is missing", nullptr, Customer(LogModeAppend, "none/run.log"), "none",
       ENOENT},
      {"appended to a file that is there", [](auto& d) { test::WriteAllText(d.File("run.log"), "old\r\n"); },
       Customer(LogModeAppend, "run.log"), nullptr, 0},
      {"customer log whose folder is a file", [](auto& d) { test::WriteAllText(d.File("f"), "x"); },
       Customer(LogModeCreate, "f/run.log"), "f", ENOTDIR},
      {"customer log named like a folder", [](auto& d) { std::filesystem::create_directory(d.File("sub")); },
       Customer(LogModeAppend, "sub"), "sub", EISDIR},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::ProjectTempDir dir;
    if (c.setup) c.setup(dir);
    const auto problem = FindLogFolderProblem(c.settings, dir.Dir());
    if (c.problem == nullptr) {
      EXPECT_FALSE(problem.has_value()) << problem->Path;
    } else {
      ASSERT_TRUE(problem.has_value());
      EXPECT_EQ(problem->Path, dir.File(c.problem));
      EXPECT_EQ(problem->Error, c.error);
    }
    // The writer at close agrees.
    test::RecordingOperator op;
    const std::vector<std::string> lines(8, "> 10:00:00 line");
    WriteLogFile(c.settings, lines, LogWriteEnv{dir.Dir(), op});
    EXPECT_EQ(op.messages.empty(), c.problem == nullptr) << (op.messages.empty() ? "" : op.messages[0].text);
  }
}

TEST(LogFolderCheck, TheWarningNamesThePathAndTheReason) {
  EXPECT_EQ(LogFolderProblemText({"/opt/qx/KVTxLogS", ENOTDIR}),
            "The log file cannot be written to \"/opt/qx/KVTxLogS\" (Not a directory): this run's log will be lost "
            "when the program closes unless that is put right!");
}

}  // namespace
}  // namespace qx
