#include "images/RecordRouting.h"

#include <algorithm>
#include <cstring>

#include "texts/Texts.h"

namespace qx {

namespace {
std::span<u8> From(std::span<u8> image, u64 index) {
  if (index >= image.size()) return {};
  return image.subspan(static_cast<std::size_t>(index));
}
}  // namespace

RecordTarget FindRecordTarget(ChipModel& model, u32 address) {
  const ChipParams& p = model.Params;
  if (OptionWindow(p).Contains(address)) {
    return {RecordWindow::Option, From(model.OptionImage, address - p.OptionStart)};
  }
  if (MainWindow(p).Contains(address)) {
    return {RecordWindow::Main,
            From(model.MainFlashImage, static_cast<u64>(address - p.MainFlashStart) + p.MainImageOffset)};
  }
  if (EepWindow(p).Contains(address)) return {RecordWindow::Eep, From(model.EepImage, address - p.EepStart)};
  if (InfoWindow(p).Contains(address)) {
    return {RecordWindow::Info, From(model.InfoAreaImage, address - p.InfoStart)};
  }
  return {};
}

void StoreRecord(const RecordTarget& target, std::span<const u8> data) {
  const std::size_t n = std::min(data.size(), target.Dest.size());
  if (n > 0) std::memcpy(target.Dest.data(), data.data(), n);
}

RecordWindow PlaceRecord(ChipModel& model, u32 address, std::span<const u8> data, ObjectRange& range, MessageBoxes& op) {
  const RecordTarget target = FindRecordTarget(model, address);
  switch (target.Window) {
    case RecordWindow::Option:
      break;
    case RecordWindow::Main:
    case RecordWindow::Eep:
    case RecordWindow::Info:
      model.LastLoadAddress = address + static_cast<u32>(data.size());
      break;
    case RecordWindow::None:
      ReportOutOfChip(op, address);
      return RecordWindow::None;
  }
  StoreRecord(target, data);
  ++range.StoredRecords;
  return target.Window;
}

void ReportOutOfChip(MessageBoxes& op, u32 address) {
  op.Ask(MsgKind::Warning, Tx(TextId::AddressOutOfChip, address), MsgButtons::Ok);
}

bool AskLineError(MessageBoxes& op, int lineNumber, u8 code) {
  return op.Ask(MsgKind::Error, Tx(TextId::LineDataError, lineNumber, code), MsgButtons::OkAbort) == MsgAnswer::Abort;
}

}  // namespace qx
