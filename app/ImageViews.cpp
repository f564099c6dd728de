#include "app/ImageViews.h"

#include "images/ViewChecksums.h"
#include "texts/Texts.h"

namespace qx {

void RefreshChecksumsAndViews(ChipModel& model, MessageLog& log, Operator& op, WindowActions& actions) {
  RefreshChecksums(model, log);
  op.ChecksumsChanged();
  const ChipParams& p = model.Params;
  // With DownloadSize 0 the range wraps to an empty one (length 0 modulo 2^32).
  op.ShowMainHex(p.MainImageOffset, p.MainImageOffset + p.DownloadSize - 1);
  if (p.EepSize != 0) op.ShowEepData();
  actions.ChipPageToFront = true;
}

void ShowOptionData(ChipModel& model, Operator& op) {
  CalcOptionChecksum(model);
  op.ShowOptionData();
}

std::string ProgrammedSizeLine(const ChipParams& params) {
  return Tx(TextId::ProgrammedSizeLine, params.DownloadSize, params.DownloadSize - 1);
}

}  // namespace qx
