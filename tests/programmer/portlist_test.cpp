#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/TempDir.h"
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <ostream>

#include "programmer/PortList.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

using test::TempDir;

struct FileCase {
  const char* name;
  const char* text;
  std::vector<std::string> entries;
  u8 unitCount;
};
// Cases print as their name, not as their bytes.
void PrintTo(const FileCase& c, std::ostream* os) { *os << c.name; }

class PortConfigFileTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(PortConfigFileTest, ListsTheDevLines) {
  TempDir dir;
  const auto& c = GetParam();
  dir.Write("ConfigQlt.ini", c.text);
  PortList list;
  list.Text = "before";
  EXPECT_EQ(LoadPortList(dir.Dir(), list), c.unitCount);
  EXPECT_EQ(list.Entries, c.entries);
  // An empty list shows nothing, not the text of the list before it.
  EXPECT_EQ(list.Text, c.entries.empty() ? std::string() : c.entries.back());
}

std::string TwelveDevLines() {
  std::string t = "[Connection]\n";
  for (int i = 1; i <= 12; ++i) t += "DEV" + std::to_string(i <= 10 ? i : 10) + "=COM" + std::to_string(i) + "\n";
  return t;
}

const std::string kTwelve = TwelveDevLines();

INSTANTIATE_TEST_SUITE_P(
    Files, PortConfigFileTest,
    ::testing::Values(
        FileCase{"Two", "[Connection]\nDEV1=COM3\nDEV2=COM4\n", {"COM3", "COM4"}, 2},
        FileCase{"CrLfAndLowerCase", "[Connection]\r\ndev1=com3\r\n", {"COM3"}, 1},
        FileCase{"TotdevIgnored", "[Connection]\nTOTDEV=5\nDEV1=COM1\nDEV2=COM2\nDEV3=COM3\n", {"COM1", "COM2", "COM3"}, 3},
        FileCase{"TrailingBlanksKept", "[Connection]\nDEV1= COM3  \n", {"COM3  "}, 1},
        FileCase{"LinuxPathKeepsCase", "[Connection]\nDEV1=/dev/ttyUSB0\nDev2=ttyACM1\n", {"/dev/ttyUSB0", "ttyACM1"}, 2},
        FileCase{"LinesBeforeSectionIgnored", "DEV1=COM9\n[connection]\nDEV2=COM8\n[Connection]\nDEV3=COM7\n", {"COM7"}, 1},
        FileCase{"NoSection", "DEV1=COM3\n", {}, 0},
        FileCase{"SectionWithoutDevLines", "[Connection]\nTOTDEV=2\n", {}, 0},
        FileCase{"NumbersOutsideOneToTenOrShort",
                 "[Connection]\nDEV0=COM1\nDEV11=COM2\nDEV00=COM3\nDEV\nDEVX=COM4\nDEV5\nDEV10=COM12\nDEV01=COM5\n",
                 {"COM12", "COM5"}, 2},
        FileCase{"TwelveLinesCutToTen", kTwelve.c_str(),
                 {"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8", "COM9", "COM10", "COM11", "COM12"}, 10}),
    [](const ::testing::TestParamInfo<FileCase>& p) { return std::string(p.param.name); });

TEST(PortConfigFile, SetsTheCommNameOfTheNumberedUnit) {
  TempDir dir;
  dir.Write("ConfigQlt.ini", "[Connection]\nDEV10=COM12\nDEV01=COM3\n");
  PortList list;
  ReadPortConfigFile(dir.Dir() + "ConfigQlt.ini", list);
  EXPECT_EQ(list.CommName[9], "COM12");
  EXPECT_EQ(list.CommName[0], "COM3");
  EXPECT_EQ(list.CommName[1], "");
}

// A FIFO in the file's place (nothing writes to it) gives no ports instead of holding the start-up.
TEST(PortConfigFile, AFifoInItsPlaceListsNoPort) {
  TempDir dir;
  ASSERT_EQ(::mkfifo((dir.Dir() + "ConfigQlt.ini").c_str(), 0600), 0);
  PortList list;
  EXPECT_EQ(ReadPortConfigFile(dir.Dir() + "ConfigQlt.ini", list), 0u);
  EXPECT_TRUE(list.Entries.empty());
}

class SysfsScan : public ::testing::Test {
 protected:
  void AddTty(const std::string& name, const std::string& driver) {
    const fs::path drv = root.Path() / "bus" / "drivers" / driver;
    fs::create_directories(drv);
    const fs::path dev = root.Path() / "devices" / name;
    fs::create_directories(dev);
    fs::create_directory_symlink(drv, dev / "driver");
    const fs::path tty = root.Path() / "class" / "tty" / name;
    fs::create_directories(tty);
    fs::create_directory_symlink(dev, tty / "device");
  }
  TempDir root;
  TempDir app;  // no ConfigQlt.ini here
};

TEST_F(SysfsScan, ListsFtdiAndCp210xPortsThatOpenInNameOrder) {
  AddTty("ttyUSB10", "ftdi_sio");
  AddTty("ttyUSB2", "cp210x");
  AddTty("ttyUSB3", "ftdi_sio");
  AddTty("ttyACM0", "cdc_acm");
  fs::create_directories(root.Path() / "class" / "tty" / "tty1");  // no device link
  std::vector<std::string> probed;
  PortScanSource src{root.Path().string(), "/dev/", [&](const std::string& p) {
                       probed.push_back(p);
                       return p != "/dev/ttyUSB3";  // in use
                     }};
  PortList list;
  EXPECT_EQ(LoadPortList(app.Dir(), list, src), 2);
  EXPECT_EQ(probed, (std::vector<std::string>{"/dev/ttyUSB2", "/dev/ttyUSB3", "/dev/ttyUSB10"}));
  EXPECT_EQ(list.Entries, (std::vector<std::string>{"/dev/ttyUSB2", "/dev/ttyUSB10"}));
  EXPECT_EQ(list.Text, "/dev/ttyUSB10");
}

TEST_F(SysfsScan, NothingFoundReadsNoComPort) {
  PortList list;
  list.Entries = {"stale"};
  PortScanSource src{(root.Path() / "missing").string(), "/dev/", [](const std::string&) { return true; }};
  EXPECT_EQ(LoadPortList(app.Dir(), list, src), 0);
  EXPECT_TRUE(list.Entries.empty());
  EXPECT_EQ(list.Text, "No COM Port");
}

TEST(ConfigLineValue, TextAfterTheFirstEquals) {
  EXPECT_EQ(ConfigLineValue("DEV1=COM3=X"), "COM3=X");
  EXPECT_EQ(ConfigLineValue("TOTDEV"), "");
}

}  // namespace
}  // namespace qx
