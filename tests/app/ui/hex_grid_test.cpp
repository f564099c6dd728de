// The hex grids: row counts and cells read from the images, the rows a partial update
// touches, and the data-flash box that follows the data.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "tests/app/AppTestSupport.h"
#include "app/HexGridRows.h"
#include "app/ui/HexGridModel.h"

namespace qx {
namespace {

TEST(HexGridRows, MainRowCountsOfARange) {
  ChipParams p;
  struct Case {
    u32 first, last, rows;
  } cases[] = {
      {0, 1029, 65},                          // 1030 bytes: the last row is partial
      {0, 1023, 64},
      {0x08000000, 0x0801FFFF, 0x2000},       // the read-back passes addresses
      {0, 0x3FFFFF, 0x40000},                 // a 4 MiB flash
      {0, 0xFFFFFFFF, 0},                     // DownloadSize 0: wraps to an empty range
      {0x10, 0x0F, 0},
      {0, 0xFFFFFFFE, MainImageSize / 16},    // never past the image
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MainHexRowCount(p, c.first, c.last), c.rows) << std::hex << c.first << ".." << c.last;
  }
  p.EepSize = 0x1008;
  EXPECT_EQ(EepHexRowCount(p), 0x100u);
  p.EepSize = 0x100000;
  EXPECT_EQ(EepHexRowCount(p), EepImageSize / 16);
}

TEST(HexGridRows, PartialUpdateTouchesTheRowsOfTheRangeAndAddsThosePastTheProgrammedRange) {
  ChipParams p;
  p.MainFlashStart = 0x08000000;
  p.DownloadSize = 0x1000;  // 256 rows on the grid
  struct Case {
    const char* name;
    u32 rowCount, a, b;
    bool any;
    u32 first, last, count;
  } cases[] = {
      {"one_row", 256, 0x08000010, 0x08000013, true, 1, 1, 256},
      {"across_rows", 256, 0x0800FFFD, 0x08010000, true, 0xFFF, 0x1000, 0x1001},
      {"past_the_range", 256, 0x08002000, 0x08002003, true, 0x200, 0x200, 0x201},
      {"inside_a_longer_grid", 0x2000, 0x08002000, 0x08002003, true, 0x200, 0x200, 0x2000},
      {"reversed", 256, 0x08000020, 0x08000010, false, 0, 0, 256},
      {"below_the_flash", 256, 0x07000000, 0x07000010, false, 0, 0, 256},
      {"from_below_into_it", 256, 0x07FFFFF0, 0x08000005, true, 0, 0, 256},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const HexRowUpdate u = PlanMainHexRowUpdate(p, c.rowCount, c.a, c.b);
    EXPECT_EQ(u.Any, c.any);
    EXPECT_EQ(u.RowCount, c.count);
    if (c.any) {
      EXPECT_EQ(u.FirstRow, c.first);
      EXPECT_EQ(u.LastRow, c.last);
    }
  }
}

TEST(HexGridRows, TextColumnAndTheDataFlashBox) {
  const std::array<u8, 7> bytes{0x1F, 0x20, 0x41, 0x7E, 0x7F, 0x80, 0xFF};
  EXPECT_EQ(HexRowText(bytes), ". A~...");

  auto chip = test::ChosenChip();
  chip->EepImage.fill(0x00);
  chip->EepImage[7] = 0xFF;
  chip->EepImage[test::kEepSize] = 0x5A;  // not on the grid
  EXPECT_FALSE(EepShowsData(*chip));
  chip->EepImage[test::kEepSize - 1] = 0x5A;
  EXPECT_TRUE(EepShowsData(*chip));
  chip->Params.EepSize = 0;
  EXPECT_FALSE(EepShowsData(*chip));
}

class GridModel : public ::testing::Test {
 protected:
  QString Cell(const HexGridModel& m, int row, int column) const { return m.index(row, column).data().toString(); }
  std::unique_ptr<ChipModel> chip = test::ChosenChip();
};

TEST_F(GridModel, MainCellsHeadersAndRowsOfTheProgrammedRange) {
  HexGridModel m(*chip, HexGrid::Main);
  EXPECT_EQ(m.rowCount(), 0);
  EXPECT_EQ(m.columnCount(), 18);
  const char* hello = "Hi!\x01";
  std::copy(hello, hello + 4, chip->MainFlashImage.begin() + 0x400);
  chip->MainFlashImage[0x40F] = 0xAB;
  m.ShowMainHex(0, 1029);
  EXPECT_EQ(m.rowCount(), 65);
  EXPECT_EQ(Cell(m, 0, 0), "0x08000000");
  EXPECT_EQ(Cell(m, 64, 0), "0x08000400");
  EXPECT_EQ(Cell(m, 64, 1), "48");
  EXPECT_EQ(Cell(m, 64, 4), "01");
  EXPECT_EQ(Cell(m, 64, 16), "AB");  // beyond the 1030 bytes, still shown
  EXPECT_EQ(Cell(m, 64, 17), "Hi!" + QString(13, QChar(u'.')));
  EXPECT_EQ(Cell(m, 0, 17).size(), 16);
  EXPECT_FALSE(m.index(65, 0).data().isValid());
  EXPECT_FALSE(m.index(0, 1).data(Qt::EditRole).isValid());
  EXPECT_EQ(m.headerData(1, Qt::Horizontal).toString(), "  0");
  EXPECT_EQ(m.headerData(16, Qt::Horizontal).toString(), "  F");
  EXPECT_EQ(m.headerData(0, Qt::Horizontal).toString(), "");
  EXPECT_EQ(m.headerData(17, Qt::Horizontal).toString(), "");
}

TEST_F(GridModel, TheImageEndGuardsTheLastRows) {
  chip->Params.MainFlashSize = MainImageSize;
  HexGridModel m(*chip, HexGrid::Main);
  m.ShowMainHex(0, 0xFFFFFFFE);
  ASSERT_EQ(m.rowCount(), static_cast<int>(MainImageSize / 16));
  chip->MainFlashImage[MainImageSize - 1] = 0x3C;
  EXPECT_EQ(Cell(m, m.rowCount() - 1, 16), "3C");
  chip->Params.MainImageOffset = 8;  // the last row then holds 8 bytes
  m.ShowMainHex(8, 0xFFFFFFFE);
  EXPECT_EQ(Cell(m, m.rowCount() - 1, 8), "3C");
  EXPECT_EQ(Cell(m, m.rowCount() - 1, 9), "");
  EXPECT_EQ(Cell(m, m.rowCount() - 1, 17), ".......<");
}

TEST_F(GridModel, UpdateSignalsTheChangedRowsAndInsertsNewOnes) {
  chip->Params.DownloadSize = 0x1000;
  HexGridModel m(*chip, HexGrid::Main);
  m.ShowMainHex(0, 0xFFF);
  QSignalSpy changed(&m, &QAbstractItemModel::dataChanged);
  QSignalSpy inserted(&m, &QAbstractItemModel::rowsInserted);
  QSignalSpy reset(&m, &QAbstractItemModel::modelReset);

  chip->MainFlashImage[0xFFF] = 0x12;  // a big-endian S/N ending at the first byte of a row
  chip->MainFlashImage[0x1000] = 0x78;
  m.UpdateMainHexRows(0x08000FFD, 0x08001000);
  EXPECT_EQ(m.rowCount(), 0x101);
  ASSERT_EQ(inserted.count(), 1);
  EXPECT_EQ(inserted[0][1].toInt(), 0x100);
  EXPECT_EQ(inserted[0][2].toInt(), 0x100);
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(changed[0][0].toModelIndex().row(), 0xFF);
  EXPECT_EQ(changed[0][1].toModelIndex().row(), 0x100);
  EXPECT_EQ(changed[0][1].toModelIndex().column(), 17);
  EXPECT_EQ(Cell(m, 0xFF, 16), "12");
  EXPECT_EQ(Cell(m, 0x100, 1), "78");
  EXPECT_EQ(reset.count(), 0);
}

TEST_F(GridModel, DataFlashAndOptionGrids) {
  HexGridModel eep(*chip, HexGrid::Eep);
  QSignalSpy reset(&eep, &QAbstractItemModel::modelReset);
  chip->EepImage[0x21] = 0x5A;
  eep.ShowEepData();
  EXPECT_EQ(reset.count(), 1);
  EXPECT_EQ(eep.rowCount(), static_cast<int>(test::kEepSize / 16));
  EXPECT_EQ(Cell(eep, 2, 0), "0x08080020");
  EXPECT_EQ(Cell(eep, 2, 2), "5A");
  EXPECT_EQ(eep.headerData(3, Qt::Horizontal).toString(), "  2");

  HexGridModel option(*chip, HexGrid::Option);
  chip->OptionImage[0xF5] = 0xC3;
  option.ShowOptionData();
  EXPECT_EQ(option.rowCount(), 16);
  EXPECT_EQ(Cell(option, 0, 0), "0x00000000");
  EXPECT_EQ(Cell(option, 15, 0), "0x000000F0");
  EXPECT_EQ(Cell(option, 15, 6), "C3");
}

}  // namespace
}  // namespace qx
