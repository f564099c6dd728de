#pragma once
// A sample job written as a project file with the core's writer: a chip that needs a flash
// driver, a random main image over the whole main flash, a random data flash programmed
// with it, and counting serial numbers. scripts/run.sh runs it through write_sample_project;
// the program's end-to-end tests write their projects with it and compare what the units
// received with the job it returns.
#include <memory>
#include <string>

#include "app/ProgramSettings.h"
#include "images/ChipModel.h"

namespace qx::sample {

struct SampleJob {
  std::string ChipName = "SA32B12xx";  // Silergy: a flash driver, 128 KiB main, 128 KiB data flash
  unsigned Seed = 1;
  u32 SnValue = 1000;
  u16 SnGain = 3;
  u32 SnAddress = 0x0001FF00;
  bool ProgramDataFlash = true;  // "Prog. Data Flash" (and "Erase Data Flash")
  u32 MainBytes = 0;             // random bytes from the main flash's start; 0: all of it
};

// The setting controls the job is saved with.
ProgramControls SampleControls(const SampleJob& job);

// Chooses the chip, fills the images and writes the project; the model as saved (settings
// collected). Throws EInOutError when the file cannot be written, std::invalid_argument
// for a chip name no maker lists.
std::unique_ptr<ChipModel> WriteSampleProject(const std::string& path, const SampleJob& job);

}  // namespace qx::sample
