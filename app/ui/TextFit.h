#pragma once
// Widths that let the grids and the status bar show their whole texts in the fonts the
// platform gives them: the designed widths are the least, the font's metrics decide above.
#include <QFont>
#include <QLabel>
#include <QString>
#include <QTableView>
#include <span>

namespace qx {

// The widest text each grid column can show: the address of the last row of the largest
// image, any byte, a row of 16 of the widest printable characters; and the column titles.
QString WidestHexGridAddress(const QFontMetrics& fm);
QString WidestHexGridByte(const QFontMetrics& fm);
QString WidestHexGridTextRow(const QFontMetrics& fm);

// Gives view its grid font, lays its columns and rows out from that font (designed widths
// as the least) and lets no cell or title elide.
void LayOutHexGrid(QTableView& view, int addressWidth, int byteWidth, int textWidth, int rowHeight);

// Width of panel so that each of texts shows whole (least: designWidth).
int StatusPanelWidth(QLabel& panel, std::span<const QString> texts, int designWidth);

}  // namespace qx
