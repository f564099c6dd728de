#pragma once
// Configuration bytes of the AUCU chips as the configuration dialog's boxes show them.
// A ticked box stands for a cleared bit.
#include "images/ChipModel.h"

namespace qx {

struct AucuConfigControls {
  bool LifeCycle = false;    // ChkBoxLFC: byte 0 bit 0
  bool NoUart0 = false;      // ChkBoxDnURT0: byte 16 bit 0
  bool NoUart1 = false;      // ChkBoxDnURT1: byte 16 bit 1
  bool NoUart2 = false;      // ChkBoxDnURT2: byte 16 bit 2
  bool NoJtag = false;       // ChkBoxDnJTAG: byte 20 bit 0, shown only
  bool NoUart0Boot = false;  // ChkBoxDnBOT: byte 24 bit 0
  bool LockRgn1 = false;     // ChkBoxDnRGN1: byte 32 bit 0, shown only
};

AucuConfigControls AucuControlsFromImage(const ChipModel& model);

// OK: writes bytes 0, 16 and 24 from the boxes, bytes 20 and 32 as 0xFF (their boxes
// cannot be changed), and sets OptionsChanged.
void WriteAucuConfig(const AucuConfigControls& controls, ChipModel& model);

}  // namespace qx
