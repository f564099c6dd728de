#pragma once
// Sets the text a control shows, whatever its kind: a button's or label's caption, a
// group's or menu's title, an edit's text, a combo box's shown text.
#include <QString>

class QComboBox;
class QObject;
class QTabWidget;
class QWidget;

namespace qx {

// A combo box shows the entry equal to the text, or, with no such entry, the text alone.
void SetComboText(QComboBox& combo, const QString& text);
// Returns false for a control that shows no text of its own.
bool SetControlText(QObject& control, const QString& text);
// The tab widget a page belongs to, or null for any other widget.
QTabWidget* TabsOf(QWidget& page);
// A caption as the window shows it: a page's on its tab, any other control's as its text.
bool SetCaption(QObject& control, const QString& text);

}  // namespace qx
