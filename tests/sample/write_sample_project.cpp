// write_sample_project: the sample job of scripts/run.sh as a project file.
//   usage: write_sample_project PATH [SEED]
// Prints the chip, the image sizes and the serial numbers' start and step.
#include <cstdio>
#include <exception>
#include <string>

#include "tests/sample/SampleProject.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: write_sample_project PATH [SEED]\n");
    return 2;
  }
  qx::sample::SampleJob job;
  try {
    if (argc == 3) job.Seed = static_cast<unsigned>(std::stoul(argv[2]));
    const auto m = qx::sample::WriteSampleProject(argv[1], job);
    std::printf("%s: chip %s, main flash %u bytes, data flash %u bytes, S/N from %u step %u at 0x%08X\n", argv[1],
                m->ChipName.c_str(), static_cast<unsigned>(m->Params.DownloadSize),
                static_cast<unsigned>(m->Params.EepSize), static_cast<unsigned>(m->Sn.SnValue),
                static_cast<unsigned>(m->Sn.SnGain), static_cast<unsigned>(m->Sn.SnAddress));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "write_sample_project: %s\n", e.what());
    return 1;
  }
  return 0;
}
