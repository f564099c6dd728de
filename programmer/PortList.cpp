#include "programmer/PortList.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>

#include "base/Errors.h"
#include "images/TextLineReader.h"
#include "serial/PortProbe.h"
#include "texts/Texts.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

std::string Upper(std::string_view text) {
  std::string out(text);
  for (auto& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "COMn" with any case, trailing blanks allowed.
bool IsComName(std::string_view v) {
  if (v.size() < 4 || Upper(v.substr(0, 3)) != "COM" || !IsDigit(v[3])) return false;
  std::size_t i = 4;
  while (i < v.size() && IsDigit(v[i])) ++i;
  while (i < v.size() && v[i] == ' ') ++i;
  return i == v.size();
}

// The unit index of a DEV line (DEV1 .. DEV10, DEV01 .. DEV09), or -1.
int DevLineUnit(std::string_view upper) {
  if (upper.size() < 4 || !IsDigit(upper[3])) return -1;
  int n = upper[3] - '0';
  if (upper.size() >= 5 && IsDigit(upper[4])) n = n * 10 + (upper[4] - '0');
  const int index = n - 1;
  return index >= 0 && index < static_cast<int>(UnitMax) ? index : -1;
}

// Digit runs compare by value, so ttyUSB2 comes before ttyUSB10.
bool NameOrder(const std::string& a, const std::string& b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      std::size_t ie = i, je = j;
      while (ie < a.size() && IsDigit(a[ie])) ++ie;
      while (je < b.size() && IsDigit(b[je])) ++je;
      std::string_view da(a.data() + i, ie - i), db(b.data() + j, je - j);
      while (da.size() > 1 && da[0] == '0') da.remove_prefix(1);
      while (db.size() > 1 && db[0] == '0') db.remove_prefix(1);
      if (da.size() != db.size()) return da.size() < db.size();
      if (da != db) return da < db;
      i = ie;
      j = je;
    } else {
      if (a[i] != b[j]) return a[i] < b[j];
      ++i;
      ++j;
    }
  }
  return a.size() - i < b.size() - j;
}

}  // namespace

std::string_view ConfigLineValue(std::string_view line) {
  const auto eq = line.find('=');
  return eq == std::string_view::npos ? std::string_view{} : line.substr(eq + 1);
}

std::size_t ReadPortConfigFile(const std::string& path, PortList& list) {
  list.Entries.clear();
  list.CommName.fill({});
  // Through the regular-file reader: a FIFO of that name would hold the start-up. Unreadable
  // reads as empty.
  std::optional<TextLineReader> reader;
  try {
    reader.emplace(path);
  } catch (const EInOutError&) {
  }
  std::string line;
  auto next = [&]() -> bool {
    std::string_view read;
    try {
      if (!reader || !reader->Next(read)) return false;
    } catch (const EInOutError&) {
      return false;
    }
    line.assign(read);
    return true;
  };
  bool inSection = false;
  while (!inSection && next()) inSection = line == "[Connection]";
  while (inSection && next()) {
    const std::string upper = Upper(line);
    if (upper.starts_with("TOTDEV")) continue;  // the count follows the DEV lines
    if (!upper.starts_with("DEV")) continue;
    const int unit = DevLineUnit(upper);
    if (unit < 0 || line.find('=') == std::string::npos) continue;
    std::string_view value = ConfigLineValue(line);
    while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
    std::string name = IsComName(value) ? Upper(value) : std::string(value);
    list.CommName[static_cast<std::size_t>(unit)] = name;
    list.Entries.push_back(std::move(name));
  }
  list.Text = list.Entries.empty() ? std::string() : list.Entries.back();
  return list.Entries.size();
}

std::size_t ScanSerialPorts(PortList& list, const PortScanSource& source) {
  list.Entries.clear();
  std::vector<std::string> names;
  std::error_code ec;
  const fs::path ttyDir = fs::path(source.SysfsRoot) / "class" / "tty";
  for (fs::directory_iterator it(ttyDir, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code linkError;
    const fs::path driver = fs::read_symlink(it->path() / "device" / "driver", linkError);
    if (linkError) continue;
    const std::string kind = driver.filename().string();
    if (kind == "ftdi_sio" || kind == "cp210x") names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end(), NameOrder);
  for (const auto& name : names) {
    const std::string path = source.DevDir + name;
    const bool free = source.CanOpen ? source.CanOpen(path) : CanOpenPort(path);
    if (free) list.Entries.push_back(path);
  }
  list.Text = list.Entries.empty() ? std::string(Text(TextId::NoComPort)) : list.Entries.back();
  return list.Entries.size();
}

u8 LoadPortList(std::string_view appDir, PortList& list, const PortScanSource& source) {
  const std::string path = std::string(appDir) + "ConfigQlt.ini";
  std::error_code ec;
  const std::size_t count = fs::exists(path, ec) ? ReadPortConfigFile(path, list) : ScanSerialPorts(list, source);
  return static_cast<u8>(std::min<std::size_t>(count, UnitMax));
}

}  // namespace qx
