#include "programmer/AutoChain.h"

#include "programmer/OnlineChains.h"
#include "texts/Texts.h"

namespace qx {

void StartAutoProgram(UnitSessions& s, u8 k) { OpenBlankCheck(s, k, Text(TextId::AutoProgramStart)); }

}  // namespace qx
