#pragma once
// Object names of the main-window controls that the chip families change. The window's
// form uses the same names; a misspelt name would silently change nothing.
#include <string_view>

namespace qx::ctl {

inline constexpr std::string_view RadioGpVolt = "RadioGpVolt";
inline constexpr std::string_view LabelDEVA = "LabelDEVA";
inline constexpr std::string_view EditDevAdr = "EditDevAdr";
inline constexpr std::string_view BtnOptionCfg = "BtnOptionCfg";
inline constexpr std::string_view CheckBoxOpt = "CheckBoxOpt";
inline constexpr std::string_view SpdBtnWrtOPB = "SpdBtnWrtOPB";
inline constexpr std::string_view ReadOptionByte1 = "ReadOptionByte1";
inline constexpr std::string_view WriteOptionByte1 = "WriteOptionByte1";
inline constexpr std::string_view ShowChipOptionData1 = "ShowChipOptionData1";
inline constexpr std::string_view ReadMG32xxChipID1 = "ReadMG32xxChipID1";
inline constexpr std::string_view RadioGroupPIF = "RadioGroupPIF";
inline constexpr std::string_view ChkBoxRDP = "ChkBoxRDP";
inline constexpr std::string_view TabSheetSLG = "TabSheetSLG";
inline constexpr std::string_view EditBTAS = "EditBTAS";
inline constexpr std::string_view EditBTAE = "EditBTAE";
inline constexpr std::string_view EditAPAS = "EditAPAS";
inline constexpr std::string_view EditAPAE = "EditAPAE";
inline constexpr std::string_view EditSumy = "EditSumy";
inline constexpr std::string_view Execute2 = "Execute2";  // the Command menu
inline constexpr std::string_view AutoSpdBtn = "AutoSpdBtn";
inline constexpr std::string_view SpdBtnErase = "SpdBtnErase";
inline constexpr std::string_view SpdBtnProg = "SpdBtnProg";
inline constexpr std::string_view SpdBtnDownLoad = "SpdBtnDownLoad";
inline constexpr std::string_view ChkBoxPrgEEP = "ChkBoxPrgEEP";
inline constexpr std::string_view ChkBoxErsEEP = "ChkBoxErsEEP";
inline constexpr std::string_view TabSheetEEP = "TabSheetEEP";
inline constexpr std::string_view ReadEEPMemory1 = "ReadEEPMemory1";
inline constexpr std::string_view LoadEepDataFile1 = "LoadEepDataFile1";
inline constexpr std::string_view WriteEepDataMemory1 = "WriteEepDataMemory1";
inline constexpr std::string_view SaveEepDatatoFile1 = "SaveEepDatatoFile1";
inline constexpr std::string_view DpCpInfX = "DpCpInfX";

}  // namespace qx::ctl
