#pragma once
// The log file written when the program ends: the message log's lines, either under a
// time-stamped name in "KVTxLogS" or in the customer's file.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Operator.h"
#include "project/LogSettings.h"
#include "texts/Language.h"

namespace qx {

inline constexpr std::string_view SystemLogFolder = "KVTxLogS";
// First line of a customer log that the append mode creates.
inline constexpr std::string_view CustomerLogHeadLine = "Dromix Log File!";
// A system log is written only for a log of more lines than this.
inline constexpr std::size_t SystemLogMinLines = 6;

struct LogStamp {
  std::string ShortDate;  // "2024/05/17"
  std::string LongTime;   // "09:12:44"
};

LogStamp CurrentLogStamp();

struct LogWriteEnv {
  std::string AppDir;  // with a trailing '/'
  MessageBoxes& Op;  // its boxes only
  std::function<LogStamp()> Clock = CurrentLogStamp;
  // The language of the build: the Chinese build writes GBK.
  Language Lang = BuildLanguage();
  // A batch run keeps a short system log too: its caller finds the reason of a failure
  // there (a port that would not open leaves only a few lines).
  bool KeepShortLog = false;
};

// "/KVT_" + date + "_" + time + ".log", every '-', '/' and ':' from the 7th character on
// made '_'.
std::string SystemLogFileName(const LogStamp& stamp);

// The customer file: a name with a folder of its own (from the browse dialog) stands as it
// is; a plain name lies in the program folder.
std::string CustomerLogPath(const std::string& appDir, const std::string& name);

// The bytes of a log text in the given language's file encoding (GBK for Chinese, a
// character without GBK form as '?').
std::string EncodeLogText(std::string_view utf8, Language lang);

// Lines of a log file as written: CR LF, encoded.
std::string LogFileBytes(const std::vector<std::string>& lines, Language lang);

// A failure of any log write is shown as "Write Log File error!" followed by the path and
// the system's reason: the log is lost, so the operator (or the caller of a batch, to whom
// an unattended run's boxes go) must learn where and why.

// Nothing for 6 lines or fewer, unless env.KeepShortLog.
void WriteSystemLog(const std::vector<std::string>& lines, const LogWriteEnv& env);

// Modes 0 and 1 replace the file; mode 2 appends (a new file starts with "Dromix Log
// File!"). False on failure.
bool WriteCustomerLog(const std::vector<std::string>& lines, int mode, const std::string& name,
                      const LogWriteEnv& env);

// By the location and mode; Enabled plays no part (the check box only enables the dialog's
// controls). False only when a customer log failed.
bool WriteLogFile(const LogSettings& settings, const std::vector<std::string>& lines, const LogWriteEnv& env);

}  // namespace qx
