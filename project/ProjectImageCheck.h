#pragma once
// A decoded project checked against the check words and sums it stores for its images,
// before anything of it is applied. The file's byte sum misses damage that keeps it (two
// blocks swapped, two changes that cancel); the check words depend on position and show it.
// Only what the program keeps current when it saves is compared, so no file it writes is
// refused (the rules, value by value, in ProjectImageCheck.cpp).
#include "base/Types.h"
#include "project/ProjectFileFormat.h"

namespace qx {

enum class ProjectImageFault : u8 {
  None,
  SumCopies,    // the header's sums and the settings block's copies differ
  MainFlash,    // MainCheck16 / MainSum16
  DataFlash,    // EepCheck16 / EepSum16
  OptionBytes,  // OptionCheck16 / OptionSum16
  Settings,     // the settings block's own check word and sum
};

// The first disagreement found, or None.
ProjectImageFault CheckProjectImages(const ProjectFileContent& content);

}  // namespace qx
