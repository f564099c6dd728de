// Any bytes as a project file: the reader never reads out of bounds, and a file it accepts
// applies without fault.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "project/ProjectFileFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const auto model = std::make_unique<qx::ChipModel>();
  static qx::ProjectSectionBuffer section{};
  qx::ProjectFileContent content;
  if (qx::DecodeProjectFile(std::span<const qx::u8>(data, size), content) == qx::ProjectReadResult::PrjOk)
    qx::ApplyProjectContent(content, *model, section);
  return 0;
}
