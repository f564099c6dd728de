#pragma once
// The option and configuration dialogs of chips/ui, named without Qt: a maker's module
// binds its chips to one, the window maps each to its dialog class.
#include "base/Types.h"

namespace qx {

enum class OptionDialog : u8 {
  None,
  AC78xOptB,   // TAC78xOptBForm
  AC784xOpb,   // TAC784xOpbFrm
  AucuCfg,     // TAUCUxCfgForm
  LcmpOpt,     // TCfgLCMPxOptForm
  Spd117xCfg,  // TCfgSPD117xFRM
  SlgyCfg,     // TSlgyCfgFrm
};

}  // namespace qx
