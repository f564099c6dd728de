#pragma once
// Option bytes of the AC7801x and AC781x chips (subtype below 16) as the option dialog's
// controls show them. Read protection, watchdog and six 16-bit words; each value is stored
// with its complement beside it, and a word of 0xFFFF is the erased state.
#include <array>
#include <optional>
#include <string>

#include "chips/OptionFieldError.h"
#include "images/ChipModel.h"

namespace qx {

inline constexpr std::size_t AC78xWordCount = 6;
// Where ERP0..ERP3, USER0 and USER1 lie in the option image.
inline constexpr std::array<std::size_t, AC78xWordCount> AC78xWordAt = {8, 12, 16, 20, 40, 44};
// The dialog rewrites these first bytes and leaves the rest of the image alone.
inline constexpr std::size_t AC78xOptionBytes = 128;

struct AC78xOptionControls {
  int RopEntry = 0;                               // ComBoxROP: 0 level 0 (no read protection), 1 level 1
  int WdtEntry = 0;                               // ComBoxWDT: 0 watchdog off, 1 on
  std::array<std::string, AC78xWordCount> Words;  // EditERP0..EditERP3, EditUSER0, EditUser1
};

// The controls for the option image as it stands.
AC78xOptionControls AC78xControlsFromImage(const ChipModel& model);

// The option words the panels beside the two choice boxes show.
u16 AC78xRopWord(int entry);
u16 AC78xWdtWord(int entry);

// OK: converts every word first; a text that is not an integer gives its error and leaves
// the image and OptionsChanged untouched. Otherwise rewrites bytes 0..127 and sets
// OptionsChanged when anything differs from the erased state (it never clears it). Only
// the low 16 bits of a word count.
std::optional<OptionFieldError> WriteAC78xOptions(const AC78xOptionControls& controls, ChipModel& model);

}  // namespace qx
