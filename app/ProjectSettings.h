#pragma once
// A loaded project's configuration section put back into the chip state, and the setting
// controls the window then shows for it.
#include "app/ProgramSettings.h"
#include "images/ChipModel.h"
#include "project/ProjectFileFormat.h"

namespace qx {

// The chip parameters and run settings of the section's settings block; the window ends
// from the sizes the reader stored; the option image erased to 0xFF with bytes 0..331 of
// the block put back; OptionEnd and InfoEnd as the chip's family gives them; and every
// image byte the file does not hold (main image from DownloadSize on, data flash from
// EepDownloadSize on) set to the chip's erased value, so nothing of the previous job is
// left to be programmed.
void ApplyProjectSettings(ChipModel& model, const ProjectSectionBuffer& section);

// The inclusive end of an area of size bytes from start (32-bit, wrapping). No bytes at
// start 0 would end at 0xFFFFFFFF and take in every address: the area is absent then.
void SetAreaEnd(u32& start, u32& end, u32 size);

// The setting controls of the loaded settings, and the model fields that go with them
// (MainImageOffset, BlankIsZero, ProgramOptionBytes, ProgramEep). Controls the project
// does not store keep their values: RadioGroupPIF always, ChkBoxRDP for every maker but
// Silergy, ChkBoxPCSN and ChkBoxSNDP (the caller sets them from ProjectFlags first:
// SNEdit1 follows ChkBoxSNDP). A radio index outside its group selects nothing (-1).
void ShowProjectSettings(ChipModel& model, ProgramControls& controls);

}  // namespace qx
