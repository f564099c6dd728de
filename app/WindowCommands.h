#pragma once
// The window's commands that the running system carries out. Each handler of the main
// window that drives the units, the images or the files calls Run with its own name and
// does nothing else; the station answers them. Qt-free, so the station can implement it.
#include "base/Types.h"

namespace qx {

enum class WindowCommand : u8 {
  StartUp,     // the start-up steps of the first show that need the core
  ClosePorts,  // every open port of the ten units closed (Exit and close)
  FileOpenBtnClick,
  SpdBtnLoadMoreClick,
  SpdBtnLdPrjClick,
  SavetoProjectFile1Click,
  LoadEepDataFile1Click,
  SaveEepDatatoFile1Click,
  FileSaveBtnClick,
  ShowChipOptionData1Click,
  DevButtonClick,
  MCUNameEditChange,
  BtnOptionCfgClick,
  CheckBoxSNClick,
  ChkBoxSNDPClick,
  ButtonCfgSNClick,
  BitBtnFindDevClick,
  StartOfflineProgrm1Click,
  DoFirmwareUpgrade1Click,
  AutoSpdBtnClick,
  SpdBtnDownLoadClick,
  SpdBtnBlankChkClick,
  SpdBtnEraseClick,
  SpdBtnProgClick,
  SpdBtnVerifyClick,
  SpdBtnWrtOPBClick,
  WriteEepDataMemory1Click,
  ReadChipMemory1Click,
  ReadEEPMemory1Click,
  ReadOptionByte1Click,
  ReadChipCheckSum1Click,
  ReadMG32xxChipID1Click,
  ReadSpcAddressClick,
};

class WindowCommands {
 public:
  virtual ~WindowCommands() = default;
  // Runs on the GUI thread inside the window's handler wrapper: an exception it raises
  // ends the command and is shown to the operator.
  virtual void Run(WindowCommand command) = 0;
};

}  // namespace qx
