#pragma once
// Whether the hex grids and the status bar show their widest texts whole in the fonts of
// this build: the English and the Chinese UI tests run the same checks.
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QLabel>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/ui/GenMFrmARM.h"
#include "app/ui/HexGridModel.h"
#include "tests/app/ui/NamedControl.h"
#include "texts/Texts.h"

namespace qx::test {

// Whether any installed face is one Qt reports fixed pitch.
inline bool MachineHasAFixedPitchFace() {
  const QStringList families = QFontDatabase::families();
  return std::any_of(families.begin(), families.end(), [](const QString& f) { return QFontDatabase::isFixedPitch(f); });
}

// The operator reads the bytes in columns: in the face the grid draws with, the sixteen hex
// digits take one width, and so do the characters of the text column. A machine without any
// fixed-pitch face cannot give that; the whole-text checks still hold there.
inline void ExpectColumnsOfOneWidth(const QFont& font) {
  const QFontInfo used(font);
  ::testing::Test::RecordProperty("grid_font", used.family().toStdString());
  ::testing::Test::RecordProperty("system_fixed_font",
                                  QFontInfo(QFontDatabase::systemFont(QFontDatabase::FixedFont)).family().toStdString());
  if (!MachineHasAFixedPitchFace()) {
    std::printf("no fixed-pitch face installed: the grid's face %s is not checked for one width\n",
                used.family().toStdString().c_str());
    return;
  }
  const QFontMetricsF fm(font);
  const auto expectOneWidth = [&](const QString& chars, const char* column) {
    for (const QChar c : chars) {
      EXPECT_EQ(fm.horizontalAdvance(c), fm.horizontalAdvance(chars.front()))
          << column << " '" << c.toLatin1() << "' in " << used.family().toStdString();
    }
  };
  expectOneWidth(QStringLiteral("0123456789ABCDEF"), "hex digit");
  QString text;
  for (char16_t c = u' '; c <= u'~'; ++c) text += QChar(c);
  expectOneWidth(text, "text column");
}

// Every grid holds a 4 MiB image at 0x08000000 whose first 16 rows hold each byte value
// and whose row 16 is sixteen 'W': the widest address, each byte, a wide text row.
inline void ExpectGridsShowTheirWidestTexts(TGenMFrmARM& window) {
  auto chip = std::make_unique<ChipModel>();
  ChipParams& p = chip->Params;
  p.MainFlashStart = 0x08000000;
  p.MainFlashSize = 0x400000;
  p.MainFlashEnd = p.MainFlashStart + p.MainFlashSize - 1;
  p.DownloadSize = p.MainFlashSize;
  for (unsigned b = 0; b < 256; ++b) chip->MainFlashImage[b] = static_cast<u8>(b);
  std::fill_n(chip->MainFlashImage.begin() + 256, 16, static_cast<u8>('W'));

  const struct {
    HexGrid grid;
    const char* name;
  } grids[] = {{HexGrid::Main, "HexViewer"}, {HexGrid::Eep, "EEPDataView"}, {HexGrid::Option, "OptionView"}};
  std::vector<std::unique_ptr<HexGridModel>> models;
  for (const auto& g : grids) {
    SCOPED_TRACE(g.name);
    auto& m = *models.emplace_back(std::make_unique<HexGridModel>(*chip, HexGrid::Main));
    window.AttachGridModel(g.grid, m, m);
    m.ShowMainHex(0, p.DownloadSize - 1);
    auto& view = NamedControl<QTableView>(window, g.name);
    ExpectColumnsOfOneWidth(view.font());
    EXPECT_EQ(view.textElideMode(), Qt::ElideNone);
    const QFontMetrics fm(view.font());
    // The item delegate keeps a margin each side of the text; the grid line takes a pixel.
    const int gridLine = view.showGrid() ? 1 : 0;
    const int margin = 2 * (view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1) + gridLine;
    auto fits = [&](int row, int column) {
      const QModelIndex at = m.index(row, column);
      const QString text = at.data().toString();
      EXPECT_LE(fm.horizontalAdvance(text) + margin, view.columnWidth(column)) << text.toStdString();
      QStyleOptionViewItem option;
      option.initFrom(&view);
      option.widget = &view;
      option.font = view.font();
      option.fontMetrics = fm;
      EXPECT_LE(view.itemDelegate()->sizeHint(option, at).width() + gridLine, view.columnWidth(column))
          << text.toStdString();
    };
    const int last = m.rowCount() - 1;
    ASSERT_EQ(m.index(last, 0).data().toString(), "0x083FFFF0");
    fits(last, 0);
    for (int row = 0; row < 16; ++row) {
      for (int column = 1; column <= 16; ++column) fits(row, column);
    }
    ASSERT_EQ(m.index(16, HexGridTextColumn).data().toString(), QString(16, QChar(u'W')));
    fits(16, HexGridTextColumn);
    const QHeaderView& header = *view.horizontalHeader();
    const int headerMargin = 2 * header.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header);
    for (int column = 1; column <= 16; ++column) {
      const QString title = m.headerData(column, Qt::Horizontal).toString();
      EXPECT_LE(QFontMetrics(header.font()).horizontalAdvance(title) + headerMargin, view.columnWidth(column))
          << title.toStdString();
    }
  }
  window.DetachGridModels();
}

// The sum panels with each of their texts (the start-up caption, the sum with each hex
// digit in every place) show it within the frame and the indent of a framed label.
inline void ExpectStatusPanelsShowTheirLongestTexts(TGenMFrmARM& window) {
  const auto panels = NamedControl<QStatusBar>(window, "StatusBar1").findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
  ASSERT_EQ(panels.size(), 3);
  const struct {
    int panel;
    TextId caption, sum;
  } cases[] = {{0, TextId::WndFileCheckSum, TextId::StatusFileChecksum},
               {1, TextId::WndChipCheckSum, TextId::StatusChipChecksum}};
  for (const auto& c : cases) {
    QLabel& label = *panels[c.panel];
    std::vector<std::string> texts{std::string(Text(c.caption))};
    for (u32 d = 0; d < 16; ++d) texts.push_back(Tx(c.sum, d * 0x11111111u));
    for (const std::string& t : texts) {
      window.SetStatusPanel(c.panel, t);
      const QString shown = label.text();
      ASSERT_EQ(shown.toStdString(), t);
      const QFontMetrics fm = label.fontMetrics();
      const int indent = label.indent() >= 0 ? label.indent()
                         : label.frameWidth() > 0 ? fm.horizontalAdvance(QChar(u'x')) / 2
                                                  : 0;
      EXPECT_LE(fm.horizontalAdvance(shown) + indent + 2 * label.margin(), label.contentsRect().width()) << t;
    }
  }
  EXPECT_GE(panels[2]->width(), 300);
}

}  // namespace qx::test
