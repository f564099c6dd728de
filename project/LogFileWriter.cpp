#include "project/LogFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <span>

#include "base/Errors.h"
#include "images/FileReplace.h"
#include "project/TextLines.h"
#include "texts/TextFileEncoding.h"
#include "texts/Texts.h"

namespace qx {
namespace {

std::span<const u8> AsBytes(const std::string& s) { return {reinterpret_cast<const u8*>(s.data()), s.size()}; }

// Length of the UTF-8 sequence that starts with lead (1 for a stray byte).
std::size_t Utf8Length(unsigned char lead) {
  if (lead >= 0xF8) return 1;
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

}  // namespace

LogStamp CurrentLogStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char date[32];
  char time[32];
  std::strftime(date, sizeof date, "%Y/%m/%d", &local);
  std::strftime(time, sizeof time, "%H:%M:%S", &local);
  return {date, time};
}

std::string SystemLogFileName(const LogStamp& stamp) {
  std::string name = "/KVT_" + stamp.ShortDate + "_" + stamp.LongTime;
  for (std::size_t i = 6; i < name.size(); ++i)
    if (name[i] == '-' || name[i] == '/' || name[i] == ':') name[i] = '_';
  return name + ".log";
}

std::string CustomerLogPath(const std::string& appDir, const std::string& name) {
  if (name.starts_with('/')) return name;
  return appDir + name;
}

std::string EncodeLogText(std::string_view utf8, Language lang) {
  if (lang != Language::Chinese) return std::string(utf8);
  if (auto whole = Utf8ToGbk(utf8)) return *whole;
  // Rare: some character has no GBK form; convert one character at a time.
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t n = std::min(Utf8Length(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
    const auto one = Utf8ToGbk(utf8.substr(i, n));
    out += one ? *one : std::string("?");
    i += n;
  }
  return out;
}

std::string LogFileBytes(const std::vector<std::string>& lines, Language lang) {
  return EncodeLogText(JoinTextLines(lines), lang);
}

namespace {

// The log is lost with this run: the operator (or a batch's caller) learns where and why.
void ReportLogWriteFailure(const LogWriteEnv& env, std::string_view what) {
  env.Op.Ask(MsgKind::Information, Tx(TextId::LogWriteFailed, std::string(what)), MsgButtons::Ok);
}

// Appends to path, creating it with the head line when it is missing. Throws EInOutError.
void AppendLog(const std::vector<std::string>& lines, const std::string& path, const LogWriteEnv& env) {
  // Opened without waiting: a FIFO of that name would hold the close for good.
  int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  std::string text;
  if (fd < 0 && errno == ENOENT) {
    fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0666);
    text = EncodeLogText(std::string(CustomerLogHeadLine) + "\r\n", env.Lang);
  }
  if (fd < 0 && errno == ENXIO) throw EInOutError(Tx(TextId::NotARegularFile, path));  // a FIFO nobody reads
  if (fd < 0) throw EInOutError(WithSystemReason(Tx(TextId::FileOpenError, path), errno));
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    throw EInOutError(Tx(TextId::NotARegularFile, path));
  }
  if (const int flags = ::fcntl(fd, F_GETFL); flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  text += LogFileBytes(lines, env.Lang);
  int error = WriteAll(fd, AsBytes(text)) ? 0 : errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error != 0) throw EInOutError(WithSystemReason(Tx(TextId::FileWriteError, path), error));
}

}  // namespace

void WriteSystemLog(const std::vector<std::string>& lines, const LogWriteEnv& env) {
  if (lines.size() <= SystemLogMinLines && !env.KeepShortLog) return;
  const std::string folder = env.AppDir + std::string(SystemLogFolder);
  try {
    if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST)
      throw EInOutError(WithSystemReason(Tx(TextId::FileCreateError, folder), errno));
    WriteFileReplacing(folder + SystemLogFileName(env.Clock()), AsBytes(LogFileBytes(lines, env.Lang)));
  } catch (const EInOutError& e) {
    ReportLogWriteFailure(env, e.what());
  }
}

bool WriteCustomerLog(const std::vector<std::string>& lines, int mode, const std::string& name,
                      const LogWriteEnv& env) {
  const std::string path = CustomerLogPath(env.AppDir, name);
  try {
    if (mode == LogModeAppend) {
      AppendLog(lines, path, env);
    } else {
      WriteFileReplacing(path, AsBytes(LogFileBytes(lines, env.Lang)));
    }
  } catch (const EInOutError& e) {
    ReportLogWriteFailure(env, e.what());
    return false;
  }
  return true;
}

bool WriteLogFile(const LogSettings& settings, const std::vector<std::string>& lines, const LogWriteEnv& env) {
  if (settings.Location == LogLocationSystem) {
    WriteSystemLog(lines, env);
    return true;
  }
  return WriteCustomerLog(lines, settings.Mode, settings.FileName, env);
}

}  // namespace qx
