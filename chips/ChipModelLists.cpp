#include "chips/ChipModelLists.h"

namespace qx {
namespace {

constexpr std::string_view kAutoChip[] = {
    "AC78010xAxx", "AC78010xBxx", "AC78010xCxx", "AC78012xAxx", "AC78012xBxx", "AC78012xCxx",
    "AC78012xDxx", "AC78013xAxx", "AC78013xBxx", "AC78013xCxx", "AC78013xDxx", "AC78016xAxx",
    "AC78016xBxx", "AC78016xCxx", "AC78016xDxx", "AC7811JBxx",  "AC7811MBxx",  "AC7811OBxx",
    "AC7811QBxx",  "AC7811JJxx",  "AC7811MJxx",  "AC7811OJxx",  "AC7811QJxx",  "AC7813JBxx",
    "AC7813MBxx",  "AC7813OBxx",  "AC7813QBxx",  "AC7815JBxx",  "AC7815MBxx",  "AC7815OBxx",
    "AC7815QBxx",  "AC78406xFxx", "AC78406xGxx", "AC78407xFxx", "AC78407xGxx", "AC78408xFxx",
    "AC78408xGxx", "AC78409xFxx", "AC78409xGxx",
};

constexpr std::string_view kIndie[] = {"IND83204xx", "IND83205xx", "IND83209xx", "IND83212xx", "IND86201xx"};

constexpr std::string_view kLapis[] = {"ML630Q464", "ML630Q466", "ML630Q448"};

constexpr std::string_view kAucu[] = {"AU301LDF51xx", "AU302NDF51xx", "AU302PDF51xx"};

constexpr std::string_view kMeiren[] = {
    "MR88F005BI", "MR88F005CI", "MR88F005DI", "MR88F105BI", "MR88F105CI", "MR88F105DI", "MR88F205BI",
    "MR88F205CI", "MR88F205DI", "MR88F305BI", "MR88F305CI", "MR88F305DI", "MR88F505BI", "MR88F505CI",
    "MR88F505DI", "MR88F605BI", "MR88F605CI", "MR88F605DI", "MR88F705BI", "MR88F705CI", "MR88F705DI",
    "MR88F805BI", "MR88F805CI", "MR88F805DI", "MR88FD05BI", "MR88FD05CI", "MR88FD05DI", "MR88FE05BI",
    "MR88FE05CI", "MR88FE05DI", "MR88FF05BI", "MR88FF05CI", "MR88FF05DI", "MR88FG05BI", "MR88FG05CI",
    "MR88FG05DI", "MR88FH05BI", "MR88FH05CI", "MR88FH05DI", "MR88F002Bx", "MR88F002Cx", "MR88F102Cx",
    "MR88F202Cx", "MR88F302Cx", "MR88F502Cx", "MR88F602Cx", "MR88F702Cx", "MR88F802Cx", "MR88FA02Cx",
    "MR88FB02Cx", "MR88FC02Cx", "MR88FD02Cx", "MR88FE02Cx",
};

constexpr std::string_view kLcm[] = {
    "LCP037AKxxx",   "LCP037ATxxx",   "LCP037AHxxx",   "LCP037BxKxx",   "LCP037BTxxx",   "LCP037BHxxx",
    "LCP037CxKxx",   "LCP037CTxxx",   "LCP037CHxxx",   "LCM32F037K6xx", "LCM32F037H6xx", "LCM32F037C6xx",
    "LCM32F037R6xx", "LCM32F037K8xx", "LCM32F037H8xx", "LCM32F037C8xx", "LCM32F037R8xx",
};

constexpr std::string_view kCmSemi[] = {
    "BAT32G127GH40xx", "BAT32G127GH48xx",  "BAT32G127GH64xx",  "BAT32G133GC20xx", "BAT32G133GC24xx",
    "BAT32G135GE32xx", "BAT32G135GE40xx",  "BAT32G135GE48xx",  "BAT32G137GH32xx", "BAT32G137GH40xx",
    "BAT32G137GH48xx", "BAT32G137GH64xx",  "BAT32G157GK48xx",  "BAT32G157GK64xx", "BAT32G179GM64xx",
    "BAT32G179GM80xx", "BAT32G179GM100xx", "BAT32A237KE24xx",  "BAT32A237KH32xx", "BAT32A237KH40xx",
    "BAT32A237KH48xx", "BAT32A237KH64xx",  "BAT32A239KK48xx",  "BAT32A239KK80xx", "BAT32A239KK100xx",
    "BAT32A279KM64xx", "BAT32A279KM80xx",  "BAT32A279KM100xx", "CMS32M651xGExx",  "CMS32M652xGExx",
    "CMS32M653xGExx",  "CMS32M651xAGExx",  "CMS32M652xCGExx",  "CMS32M653xEGExx",
};

constexpr std::string_view kSonix[] = {
    "SN32F774xx",  "SN32F7741xx", "SN32F773xx",  "SN32F755JG",   "SN32F756JG",
    "SN32F757FG",  "SN32F765JG",  "SN32F766JG",  "SN32F767FG",   "SN32F766BJG",
    "SN32F767BJG", "SN32F768BJG", "SN32F7651BJG", "SN32F7652BJG", "SN32F7661BJG",
};

constexpr std::string_view kSpintrol[] = {
    "SPC1168xxx",   "SPC1169xxx",    "SPD1176API56",  "SPD1176ZAPW48", "SPD1176APW48",
    "SPD1179DPI56", "SPD1179XDPW48", "SPD1179YDPW48", "SPD1179ZDPW48", "SPD1179DPW48",
};

constexpr std::string_view kLingsi[] = {
    "LE5010AI", "LE5010AIE", "LE5010AJ", "LE5010BI", "LE5010BIE", "LE5010BJ", "LE5010TI",
    "LE5010SI", "LE5110AI",  "LE5110AJ", "LE5110BI", "LE5110BJ",  "LE5110TI", "LE5110SI",
};

constexpr std::string_view kSilergy[] = {"SA32B16xx", "SA32B14xx", "SA32B12xx"};

constexpr std::string_view kToshiba[] = {
    "TMPM370FYDFG",  "TMPM370FYFG",   "TMPM372FWUG",  "TMPM373FWDUG", "TMPM374FWUG",  "TMPM380FWFG",
    "TMPM380FYFG",   "TMPM380FWDFG",  "TMPM380FYDFG", "TMPM4KNFYADFG", "TMPM4KNFWADFG", "TMPM4KNFYAFG",
    "TMPM4KNFWAFG",  "TMPM4KMFYAFG",  "TMPM4KMFWAFG", "TMPM4KLFYAUG", "TMPM4KLFWAUG", "TMPM4KLFYAFG",
    "TMPM4KLFWAFG",  "TMPM4KHFYAUG",  "TMPM4KHFWAUG",
};

constexpr std::string_view kTea[] = {"TEA32G5800TOD256", "TEA32G5800TLD256", "TEA32G5800TLF256", "TEA32G5800TLF256",
                                     "TEA32G5800TLI256"};

}  // namespace

constinit const std::array<std::span<const std::string_view>, MakerCount> ChipModelLists = {
    kAutoChip, kIndie, kLapis,   kAucu,    kMeiren,  kLcm, kCmSemi,
    kSonix,    kSpintrol, kLingsi, kSilergy, kToshiba, kTea,
};

std::span<const std::string_view> ModelsOfMaker(u8 manufacturerIndex) {
  return ChipModelLists[IndexOf(MakerOf(manufacturerIndex))];
}

}  // namespace qx
