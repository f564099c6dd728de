#pragma once
// What the main window asks of a hex grid's model when the core refreshes a view. A grid
// model implements it next to its QAbstractTableModel and is attached to its grid with
// TGenMFrmARM::AttachGridModel.
#include "app/HexGridRows.h"
#include "base/Types.h"

namespace qx {

class GridRefresh {
 public:
  virtual ~GridRefresh() = default;
  // The grid shows the image indices first..last (inclusive), one row per 16 bytes.
  virtual void ShowRange(u32 firstIndex, u32 lastIndex) = 0;
  // The rows holding the addresses first..last are read again from the image.
  virtual void UpdateRows(u32 firstAddress, u32 lastAddress) = 0;
  // The grid is rebuilt from its image as the chip now sizes it.
  virtual void Reload() = 0;
  // The grid keeps its header row only: a new chip was chosen and nothing is loaded for it.
  virtual void ShowHeaderOnly() = 0;
};

}  // namespace qx
