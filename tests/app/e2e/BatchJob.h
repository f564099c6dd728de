#pragma once
// A batch job in a program folder (the sample project and the flash driver its chip needs)
// and what every unit must hold after the batch downloaded it: the main image, the data
// flash and the settings block of the project, with the unit's own serial number.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/ByteOrder.h"
#include "programmer/SettingsBlock.h"
#include "images/FileReplace.h"
#include "project/ProjectFileFormat.h"
#include "tests/sample/SampleProject.h"
#include "tests/unitsim/SimFiles.h"
#include "tests/unitsim/UnitSimulator.h"

namespace qx::test {

struct BatchJob {
  std::string Path;
  std::unique_ptr<ChipModel> Model;
  std::vector<u8> StoredBlock;  // the settings block the project file holds
};

// The project and its chip's flash driver in the folder (with a trailing '/').
inline BatchJob WriteBatchJob(const std::string& dir, const sample::SampleJob& spec = {},
                              const std::string& name = "job.pqz") {
  BatchJob job;
  job.Path = dir + name;
  job.Model = sample::WriteSampleProject(job.Path, spec);
  std::filesystem::create_directories(dir + "DromixDRVs");
  const std::string driver = dir + "DromixDRVs/" + std::string(sim::DriverStemFor(spec.ChipName)) + ".KDV";
  EXPECT_TRUE(sim::WriteBytesFile(driver, sim::MakeDriverFile({}))) << driver;
  ProjectFileContent content;
  const std::vector<u8> bytes = ReadFileBytes(job.Path, 1u << 26);
  EXPECT_EQ(DecodeProjectFile(bytes, content), ProjectReadResult::PrjOk);
  job.StoredBlock.assign(content.Section.begin(), content.Section.begin() + SettingsBlockSize);
  return job;
}

// The block bytes a unit's copy differs in: the two random header bytes, the S/N step (the
// increment times the units in use), the unit's S/N, the block's check and sum.
inline bool PerUnitBlockByte(std::size_t i) {
  return i == SbHeaderAt + 6 || i == SbHeaderAt + 10 || i == SbHeaderAt + 11 || i == SbSnStepAt ||
         i == SbSnStepAt + 1 || (i >= SbSnValueAt && i < SbSnValueAt + 4) || i >= SbCheckAt;
}

inline void ExpectUnitHoldsTheJob(sim::UnitSimulator& sim, u8 k, u8 unitCount, const BatchJob& job) {
  SCOPED_TRACE("unit " + std::to_string(k + 1));
  const ChipModel& m = *job.Model;
  const ChipParams& p = m.Params;
  sim.WithUnit(k, [&](sim::SimUnit& u) {
    const auto& main = u.MainJob();
    EXPECT_TRUE(std::equal(main.begin(), main.begin() + p.DownloadSize, m.MainFlashImage.begin() + p.MainImageOffset));
    const auto& eep = u.EepJob();
    EXPECT_TRUE(std::equal(eep.begin(), eep.begin() + p.EepSize, m.EepImage.begin()));
    const auto& block = u.LastSettingsBlock();
    ASSERT_EQ(block.size(), SettingsBlockSize);
    std::vector<std::size_t> differing;
    for (std::size_t i = 0; i < SettingsBlockSize; ++i) {
      if (!PerUnitBlockByte(i) && block[i] != job.StoredBlock[i]) differing.push_back(i);
    }
    EXPECT_TRUE(differing.empty()) << differing.size() << " block bytes differ, the first at " << differing.front();
    EXPECT_EQ(GetLe32(block, SbSnValueAt), m.Sn.SnValue + k * m.Sn.SnGain);
    EXPECT_EQ(GetLe16(block, SbSnStepAt), m.Sn.SnGain * unitCount);
  });
}

}  // namespace qx::test
