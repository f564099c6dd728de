#include "app/FileDialogs.h"

#include <algorithm>
#include <initializer_list>

#include "texts/Texts.h"

namespace qx {

namespace {

std::vector<std::string> TextsOf(std::initializer_list<TextId> ids) {
  std::vector<std::string> v;
  for (const TextId id : ids) v.emplace_back(Text(id));
  return v;
}

}  // namespace

FileDialogDesign ObjectOpenDialog() {
  return {TextsOf({TextId::FilterAllFiles, TextId::FilterObjectBinary, TextId::FilterObjectIntelHex,
                   TextId::FilterObjectMotorola, TextId::FilterHexBinary}),
          5, "BIN"};
}

FileDialogDesign EepOpenDialog() {
  return {TextsOf({TextId::FilterEepBinary, TextId::FilterEepObject, TextId::FilterHexBinary}), 1, "bin"};
}

FileDialogDesign SaveDialog() {
  return {TextsOf({TextId::FilterSaveBinary, TextId::FilterSaveIntelHex, TextId::FilterSaveMotorola}), 1, "bin"};
}

FileDialogDesign ProjectSaveDialog() { return {TextsOf({TextId::FilterProjectSave, TextId::FilterProjectAll}), 1, "pqz"}; }

FileDialogDesign ProjectOpenDialog() { return {TextsOf({TextId::FilterProjectOpen, TextId::FilterProjectAll}), 1, "pqz"}; }

std::string ProjectSaveDialogTitle() { return std::string(Text(TextId::PrjSaveDialogTitle)); }

std::string ProjectOpenDialogTitle() { return std::string(Text(TextId::PrjOpenDialogTitle)); }

int FilterIndexOf(const FileDialogDesign& design, const std::string& filter) {
  const auto it = std::find(design.Filters.begin(), design.Filters.end(), filter);
  return it == design.Filters.end() ? 0 : static_cast<int>(it - design.Filters.begin()) + 1;
}

}  // namespace qx
