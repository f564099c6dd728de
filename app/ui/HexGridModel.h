#pragma once
// The three hex grids of the main window as table models over the images: 18 columns
// (address, 16 bytes, text), one row per 16-byte image row. Cells are formatted when the
// view asks for them, so a grid's memory does not grow with the image. Each is the refresh
// target of its grid in the main window.
#include <QAbstractTableModel>
#include <QString>
#include <array>

#include "app/HexGridRows.h"
#include "app/ui/GridRefresh.h"
#include "images/ChipModel.h"
#include "programmer/SerialPatch.h"

namespace qx {

class HexGridModel : public QAbstractTableModel, public GridRefresh {
  Q_OBJECT

 public:
  HexGridModel(const ChipModel& model, HexGrid grid, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  // Main grid: the rows of the inclusive range first..last (a reset).
  void ShowMainHex(u32 first, u32 last);
  // Main grid: the rows holding the addresses a..b show the image again; rows past the
  // programmed range that the grid lacks are added.
  void UpdateMainHexRows(u32 a, u32 b);
  // Data-flash grid: EepSize / 16 rows (a reset).
  void ShowEepData();
  // Option grid: 16 rows (a reset).
  void ShowOptionData();
  // Main grid: while patch is active its bytes show over the image (unit 0's own serial
  // number, which the image does not hold). The patch outlives the model; nullptr: none.
  void ShowSerialNumber(const UnitSerialPatch* patch) { serial_ = patch; }
  // No rows under the header (a reset).
  void ShowHeaderOnly() override;

  HexGrid Grid() const { return grid_; }

  // GridRefresh: the main grid's range and rows; Reload rebuilds any grid as its chip
  // now sizes it (the main grid over the programmed range).
  void ShowRange(u32 firstIndex, u32 lastIndex) override { ShowMainHex(firstIndex, lastIndex); }
  void UpdateRows(u32 firstAddress, u32 lastAddress) override { UpdateMainHexRows(firstAddress, lastAddress); }
  void Reload() override;

 private:
  void ResetRows(u32 rows);

  const ChipModel& model_;
  HexGrid grid_;
  u32 rows_ = 0;
  std::array<QString, 256> byteText_;
  std::array<QString, 16> columnTitle_;
  const UnitSerialPatch* serial_ = nullptr;
};

}  // namespace qx
