// Any bytes as a project file: the reader and the check of its images never read out of
// bounds, and a file it decodes applies without fault.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "project/ProjectFileFormat.h"
#include "project/ProjectImageCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const auto model = std::make_unique<qx::ChipModel>();
  static qx::ProjectSectionBuffer section{};
  qx::ProjectFileContent content;
  if (qx::DecodeProjectFile(std::span<const qx::u8>(data, size), content) == qx::ProjectReadResult::PrjOk) {
    (void)qx::CheckProjectImages(content);
    qx::ApplyProjectContent(content, *model, section);
  }
  return 0;
}
