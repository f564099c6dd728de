#include "app/ui/HexGridModel.h"

#include <algorithm>

#include "texts/Texts.h"

namespace qx {

namespace {
QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
}  // namespace

HexGridModel::HexGridModel(const ChipModel& model, HexGrid grid, QObject* parent)
    : QAbstractTableModel(parent), model_(model), grid_(grid) {
  // Formatted once: a cell is then a shared string, not a format call.
  for (unsigned b = 0; b < byteText_.size(); ++b) byteText_[b] = Q(Tx(TextId::HexGridByte, b));
  for (unsigned c = 0; c < columnTitle_.size(); ++c) columnTitle_[c] = Q(Tx(TextId::HexGridColumnTitle, c));
}

int HexGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_);
}

int HexGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : HexGridColumns; }

QVariant HexGridModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() < 0 || static_cast<u32>(index.row()) >= rows_) {
    return {};
  }
  const auto row = static_cast<u32>(index.row());
  const int column = index.column();
  if (column == 0) return Q(Tx(TextId::HexGridAddress, HexRowAddress(grid_, model_.Params, row)));
  std::span<const u8> bytes = HexRowBytes(grid_, model_, row);
  std::array<u8, 16> shown{};
  if (grid_ == HexGrid::Main && serial_ != nullptr && serial_->Active) {
    const auto first = static_cast<std::int64_t>(model_.Params.MainImageOffset) + std::int64_t{16} * row;
    std::copy(bytes.begin(), bytes.end(), shown.begin());
    const auto row16 = std::span<u8>(shown).first(bytes.size());
    OverlaySerialPatch(*serial_, first, row16);
    bytes = row16;
  }
  if (column == HexGridTextColumn) return QString::fromLatin1(HexRowText(bytes).c_str());
  const auto k = static_cast<std::size_t>(column - 1);
  if (column < 1 || column > 16 || k >= bytes.size()) return {};
  return byteText_[bytes[k]];
}

QVariant HexGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return QAbstractTableModel::headerData(section, orientation, role);
  if (section >= 1 && section <= 16) return columnTitle_[static_cast<std::size_t>(section - 1)];
  return QString();
}

void HexGridModel::ResetRows(u32 rows) {
  beginResetModel();
  rows_ = rows;
  endResetModel();
}

void HexGridModel::ShowMainHex(u32 first, u32 last) { ResetRows(MainHexRowCount(model_.Params, first, last)); }

void HexGridModel::UpdateMainHexRows(u32 a, u32 b) {
  const HexRowUpdate u = PlanMainHexRowUpdate(model_.Params, rows_, a, b);
  if (u.RowCount > rows_) {
    beginInsertRows(QModelIndex(), static_cast<int>(rows_), static_cast<int>(u.RowCount - 1));
    rows_ = u.RowCount;
    endInsertRows();
  }
  if (u.Any) {
    emit dataChanged(index(static_cast<int>(u.FirstRow), 0), index(static_cast<int>(u.LastRow), HexGridColumns - 1),
                     {Qt::DisplayRole});
  }
}

void HexGridModel::ShowEepData() { ResetRows(EepHexRowCount(model_.Params)); }

void HexGridModel::ShowOptionData() { ResetRows(OptionHexRows); }

void HexGridModel::Reload() {
  switch (grid_) {
    case HexGrid::Main: {
      const ChipParams& p = model_.Params;
      ShowMainHex(p.MainImageOffset, p.MainImageOffset + p.DownloadSize - 1);
      return;
    }
    case HexGrid::Eep: return ShowEepData();
    case HexGrid::Option: return ShowOptionData();
  }
}

void HexGridModel::ShowHeaderOnly() { ResetRows(0); }

}  // namespace qx
