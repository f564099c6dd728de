#include "app/ui/TextFit.h"

#include <QHeaderView>
#include <QStyle>
#include <algorithm>

#include "app/HexGridRows.h"
#include "app/ui/HexGridFont.h"
#include "texts/Texts.h"

namespace qx {

namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The widest of the characters from..to (inclusive) in fm.
QChar WidestChar(const QFontMetrics& fm, char16_t from, char16_t to) {
  QChar widest(from);
  for (char16_t c = from; c <= to; ++c) {
    if (fm.horizontalAdvance(QChar(c)) > fm.horizontalAdvance(widest)) widest = QChar(c);
  }
  return widest;
}

QString WidestOf(const QFontMetrics& fm, std::span<const QString> texts) {
  QString widest;
  for (const QString& t : texts) {
    if (fm.horizontalAdvance(t) > fm.horizontalAdvance(widest)) widest = t;
  }
  return widest;
}

}  // namespace

QString WidestHexGridAddress(const QFontMetrics& fm) {
  // Any digit may stand in any place: eight of the widest, after the prefix of the format.
  QString digits;
  for (unsigned d = 0; d < 16; ++d) digits += Q(Tx(TextId::HexGridByte, d)).back();
  QChar widest = digits.front();
  for (QChar c : digits) {
    if (fm.horizontalAdvance(c) > fm.horizontalAdvance(widest)) widest = c;
  }
  const QString sample = Q(Tx(TextId::HexGridAddress, 0u));
  return sample.left(sample.size() - 8) + QString(8, widest);
}

QString WidestHexGridByte(const QFontMetrics& fm) {
  std::array<QString, 256> bytes;
  for (unsigned b = 0; b < bytes.size(); ++b) bytes[b] = Q(Tx(TextId::HexGridByte, b));
  return WidestOf(fm, bytes);
}

QString WidestHexGridTextRow(const QFontMetrics& fm) { return QString(16, WidestChar(fm, u' ', u'~')); }

void LayOutHexGrid(QTableView& view, int addressWidth, int byteWidth, int textWidth, int rowHeight) {
  view.setFont(HexGridFont(view.font()));
  view.setTextElideMode(Qt::ElideNone);
  view.setWordWrap(false);
  QHeaderView& columns = *view.horizontalHeader();
  columns.setFont(view.font());
  columns.setTextElideMode(Qt::ElideNone);
  const QFontMetrics fm(view.font());
  const QStyle* style = view.style();
  // What the item delegate keeps on each side of a cell's text, the grid line, and a little
  // air: the delegate rounds the text's fractional width up and the digits should not touch
  // the lines.
  constexpr int kAir = 4;
  const int cellMargin = 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1) +
                         (view.showGrid() ? 1 : 0) + kAir;
  const int titleMargin = 2 * style->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &columns);
  int titleWidth = 0;
  for (unsigned c = 0; c < 16; ++c)
    titleWidth = std::max(titleWidth, fm.horizontalAdvance(Q(Tx(TextId::HexGridColumnTitle, c))) + titleMargin);

  const int address = std::max(addressWidth, fm.horizontalAdvance(WidestHexGridAddress(fm)) + cellMargin);
  const int byte = std::max({byteWidth, fm.horizontalAdvance(WidestHexGridByte(fm)) + cellMargin, titleWidth});
  const int text = std::max(textWidth, fm.horizontalAdvance(WidestHexGridTextRow(fm)) + cellMargin);
  columns.setMinimumSectionSize(std::min(byte, columns.minimumSectionSize()));
  columns.setDefaultSectionSize(byte);
  const int count = view.model() != nullptr ? view.model()->columnCount() : HexGridColumns;
  for (int c = 0; c < count; ++c) columns.resizeSection(c, c == 0 ? address : c == HexGridTextColumn ? text : byte);

  QHeaderView& rows = *view.verticalHeader();
  rows.setSectionResizeMode(QHeaderView::Fixed);
  rows.setDefaultSectionSize(std::max(rowHeight, fm.height() + 4));
}

int StatusPanelWidth(QLabel& panel, std::span<const QString> texts, int designWidth) {
  // The label's own size hint holds its frame, margin and indent around the text.
  const QString shown = panel.text();
  int width = designWidth;
  for (const QString& t : texts) {
    panel.setText(t);
    width = std::max(width, panel.sizeHint().width());
  }
  panel.setText(shown);
  return width;
}

}  // namespace qx
