#include <gtest/gtest.h>
#include <sys/stat.h>
#include <iconv.h>

#include <filesystem>

#include "base/Errors.h"
#include "project/LogFileWriter.h"
#include "tests/project/ProjectTestSupport.h"
#include "tests/support/RecordingOperator.h"

namespace qx {
namespace {

// Decodes GBK with iconv directly, apart from the program's own conversion.
std::string GbkDecoded(const std::string& gbk) {
  iconv_t cd = iconv_open("UTF-8", "GBK");
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
  std::string out(gbk.size() * 3 + 4, '\0');
  char* in = const_cast<char*>(gbk.data());
  std::size_t inLeft = gbk.size();
  char* dst = out.data();
  std::size_t outLeft = out.size();
  const std::size_t r = iconv(cd, &in, &inLeft, &dst, &outLeft);
  iconv_close(cd);
  EXPECT_NE(r, static_cast<std::size_t>(-1));
  out.resize(out.size() - outLeft);
  return out;
}

std::vector<std::string> Lines(int n) {
  std::vector<std::string> lines;
  for (int i = 0; i < n; ++i) lines.push_back("> 10:00:0" + std::to_string(i) + " line");
  return lines;
}

class LogWriterTest : public ::testing::Test {
 protected:
  LogWriteEnv Env(Language lang = Language::English) {
    LogWriteEnv env{dir.Dir(), op};
    env.Clock = [] { return LogStamp{"2024/05/17", "09:12:44"}; };
    env.Lang = lang;
    return env;
  }
  std::string SystemLogPath() const { return dir.File("KVTxLogS/KVT_2024_05_17_09_12_44.log"); }

  test::ProjectTempDir dir;
  test::RecordingOperator op;
};

TEST(SystemLogName, SeparatorsFromTheSeventhCharacter) {
  EXPECT_EQ(SystemLogFileName({"2024/05/17", "09:12:44"}), "/KVT_2024_05_17_09_12_44.log");
  EXPECT_EQ(SystemLogFileName({"17-05-2024", "9:12:44"}), "/KVT_17_05_2024_9_12_44.log");
  // The date's first character is the 6th of the name and stays.
  EXPECT_EQ(SystemLogFileName({"-05-17", "09:12"}), "/KVT_-05_17_09_12.log");
}

TEST_F(LogWriterTest, SystemLogNeedsMoreThanSixLines) {
  WriteSystemLog(Lines(6), Env());
  EXPECT_FALSE(std::filesystem::exists(dir.File("KVTxLogS")));
  WriteSystemLog(Lines(7), Env());
  const std::string text = test::ReadAll(SystemLogPath());
  EXPECT_EQ(text.substr(0, 21), "> 10:00:00 line\r\n> 10");
  EXPECT_EQ(text.size(), 7u * 17);
  EXPECT_TRUE(op.messages.empty());
}

// A batch's log is kept however short: its caller looks there for the reason.
TEST_F(LogWriterTest, ABatchKeepsAShortSystemLog) {
  LogWriteEnv env = Env();
  env.KeepShortLog = true;
  WriteSystemLog(Lines(2), env);
  EXPECT_EQ(test::ReadAll(SystemLogPath()), "> 10:00:00 line\r\n> 10:00:01 line\r\n");
}

TEST_F(LogWriterTest, SystemLogFailureNamesThePathAndTheReason) {
  test::WriteAllText(dir.File("KVTxLogS"), "not a folder");
  WriteSystemLog(Lines(7), Env());
  ASSERT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(op.messages[0].text,
            "Write Log File error! Cannot create file " + SystemLogPath() + " (Not a directory)");
}

TEST_F(LogWriterTest, CustomerModes) {
  const std::string path = dir.File("run.log");
  test::WriteAllText(path, "old\r\n");
  for (int mode : {LogModeCreate, LogModeOverwrite}) {
    EXPECT_TRUE(WriteCustomerLog({"a", "b"}, mode, "run.log", Env()));
    EXPECT_EQ(test::ReadAll(path), "a\r\nb\r\n") << mode;
  }
  EXPECT_TRUE(WriteCustomerLog({"c"}, LogModeAppend, "run.log", Env()));
  EXPECT_EQ(test::ReadAll(path), "a\r\nb\r\nc\r\n");

  EXPECT_TRUE(WriteCustomerLog({"x"}, LogModeAppend, "new.log", Env()));
  EXPECT_EQ(test::ReadAll(dir.File("new.log")), "Dromix Log File!\r\nx\r\n");

  // A name with its own folder, as the browse dialog gives it.
  EXPECT_TRUE(WriteCustomerLog({"y"}, LogModeCreate, dir.File("abs.log"), Env()));
  EXPECT_EQ(test::ReadAll(dir.File("abs.log")), "y\r\n");
}

// Every mode says what failed; an append failure was once silent and the log lost.
TEST_F(LogWriterTest, CustomerFailuresNameThePathAndTheReasonInEveryMode) {
  std::filesystem::create_directory(dir.File("sub"));
  ASSERT_EQ(::mkfifo(dir.File("pipe.log").c_str(), 0600), 0);  // an open for writing would wait for a reader
  const struct {
    int mode;
    const char* name;
    std::string text;
  } cases[] = {
      {LogModeAppend, "sub", "Cannot open file " + dir.File("sub") + " (Is a directory)"},
      {LogModeAppend, "none/x.log", "Cannot open file " + dir.File("none/x.log") + " (No such file or directory)"},
      {LogModeAppend, "pipe.log", "\"" + dir.File("pipe.log") + "\" is not a regular file and has not been opened!"},
      {LogModeCreate, "none/x.log", "Cannot create file " + dir.File("none/x.log") + " (No such file or directory)"},
      {LogModeOverwrite, "sub", "File write error: " + dir.File("sub") + " (Is a directory)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    op.messages.clear();
    EXPECT_FALSE(WriteCustomerLog({"x"}, c.mode, c.name, Env()));
    ASSERT_EQ(op.messages.size(), 1u);
    EXPECT_EQ(op.messages[0].text, "Write Log File error! " + c.text);
  }
}

TEST_F(LogWriterTest, SettingsChooseTheWriter) {
  LogSettings s;
  // The check box only enables the dialog's controls: the log is kept in every case.
  s.Enabled = false;
  EXPECT_TRUE(WriteLogFile(s, Lines(8), Env()));
  EXPECT_TRUE(std::filesystem::exists(SystemLogPath()));
  s.Location = LogLocationCustomer;
  s.Mode = LogModeAppend;
  s.FileName = "c.log";
  EXPECT_TRUE(WriteLogFile(s, {"z"}, Env()));
  EXPECT_EQ(test::ReadAll(dir.File("c.log")), "Dromix Log File!\r\nz\r\n");
}

TEST_F(LogWriterTest, ChineseBuildWritesGbk) {
  const std::vector<std::string> lines = {"> 09:12:44 芯片 \"SY8F3201\" 已选择!", "编程成功"};
  EXPECT_TRUE(WriteCustomerLog(lines, LogModeAppend, "zh.log", Env(Language::Chinese)));
  const std::string bytes = test::ReadAll(dir.File("zh.log"));
  EXPECT_EQ(bytes.find("芯片"), std::string::npos);  // not UTF-8
  EXPECT_EQ(GbkDecoded(bytes), "Dromix Log File!\r\n> 09:12:44 芯片 \"SY8F3201\" 已选择!\r\n编程成功\r\n");

  std::vector<std::string> many(7, "日志行");
  WriteSystemLog(many, Env(Language::Chinese));
  const std::string sys = test::ReadAll(SystemLogPath());
  EXPECT_EQ(sys.size(), 7u * 8);  // three characters of two bytes, CR LF
  EXPECT_EQ(GbkDecoded(sys).substr(0, 11), "日志行\r\n");
}

TEST(LogTextEncoding, CharactersWithoutGbkBecomeQuestionMarks) {
  EXPECT_EQ(GbkDecoded(EncodeLogText("a😀中", Language::Chinese)), "a?中");
  EXPECT_EQ(EncodeLogText("中", Language::English), "中");
}

}  // namespace
}  // namespace qx
