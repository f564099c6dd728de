#pragma once
// The run settings of the main window's settings pages, copied into the bytes the units
// receive (chip control, timing, serial-number settings) before every command that sends
// or saves them. The window reads its controls into ProgramControls; the rule is here.
#include <string>

#include "base/MessageLog.h"
#include "images/ChipModel.h"

namespace qx {

// The state of every control the collection reads. Radio groups by item index (-1: none
// checked), spin edits by value, edits by their text. Initial values are the window's
// design values.
struct ProgramControls {
  // Chip group
  int RadioGroupPIF = 0;  // "SWD", "SWE"; shown only for Shanghai Meiren
  int RadioGpVolt = 1;    // "3.3V", "5.0V"
  int RadioGrpSpdF = 0;   // "Fast SWCLK", "Slow SWCLK"
  bool CheckBoxOpt = false;
  bool ChkBoxRDP = false;
  bool ChkBoxErsEEP = false;
  bool ChkBoxPrgEEP = false;
  // "Number/Detect" and "Control Set" pages
  int RadioGrpRST = 0;  // "Output Low", "Shut Reset (HiZ)", "Reset and Shut"
  bool ChkBoxBlkEr = false;
  bool ChkBoxAuto = false;
  bool CheckBoxCtrl = false;
  bool ChkBoxVDD = false;
  bool CheckBoxRun = false;
  bool ChkBoxCpErsM = false;
  bool ChkBoxRunSHT = false;
  int SpinEditNum = 0;
  int SpinEditIn = 510;
  int SpinEditOut = 510;
  int SpinEditVddTim = 100;
  int SpinEditPWDTim = 100;
  int SpinEditRTM = 500;
  std::string EditDevAdr = "0x00";
  // "S/N Set" page
  bool CheckBoxSN = false;
  bool SNOrderChk = true;
  std::string SNEdit1 = "0x00000000";
  std::string GainEdit = "0x01";
  std::string AddrEdit = "0x0000FFF0";
  // Not collected into the settings bytes; the project file keeps them in ProjectFlags.
  bool ChkBoxPCSN = false;
  bool ChkBoxSNDP = false;

  bool operator==(const ProgramControls&) const = default;
};

// Writes every field the controls own, in the designed order, and logs the control bytes.
// A text that is not an integer raises EConvertError at its conversion: the fields written
// before it keep their new values, the rest their old ones, and nothing is logged.
// InterfaceFlags bit 0 follows RadioGroupPIF only for the maker that shows the group; for
// every other maker it keeps what the chip family set.
void CollectProgramSettings(const ProgramControls& controls, ChipModel& model, MessageLog& log);

// The three number fields of the "S/N Set" page as the collection reads them, in its order:
// SnGain (low 16 bits), SnValue and SnAddress (64-bit texts, low 32 bits). A text that is not
// an integer raises EConvertError there.
void ReadSerialNumberFields(const ProgramControls& controls, SnSettings& sn);

}  // namespace qx
