// write_sample_project: the sample job of scripts/run.sh as a project file.
//   usage: write_sample_project PATH [SEED]
// Prints the chip, the image sizes and the serial numbers' start and step.
#include <cstdio>
#include <exception>
#include <string>

#include "tests/sample/SampleProject.h"

namespace {

constexpr const char* kUsage =
    "usage: write_sample_project PATH [SEED]\n"
    "  writes the sample job (a random image for a chip that needs a flash driver, with data\n"
    "  flash and counting serial numbers) as a project file at PATH; SEED picks the image\n"
    "  (default 1). Prints the chip, the image sizes and the serial numbers' start and step.\n";

}  // namespace

int main(int argc, char** argv) {
  const std::string first = argc > 1 ? argv[1] : "";
  if (argc == 2 && (first == "--help" || first == "-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  // A path that looks like an option is a mistake more often than a name (./-x is one).
  if (argc < 2 || argc > 3 || first.starts_with("-")) {
    std::fputs(kUsage, stderr);
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
