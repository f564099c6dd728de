#pragma once
// A radio group: a group box whose radio buttons (its direct children, in the order of
// the form) are its items. The item index is the checked item, -1 for none.
#include <QGroupBox>
#include <QList>
#include <span>

class QRadioButton;

namespace qx {

class TRadioGroup : public QGroupBox {
  Q_OBJECT

 public:
  explicit TRadioGroup(QWidget* parent = nullptr);

  int ItemIndex() const;
  // An index outside the items checks none.
  void SetItemIndex(int index);
  QList<QRadioButton*> Items() const;
  // Sets the captions of the first items; items beyond the list keep theirs.
  void SetItemTexts(std::span<const QString> texts);
};

}  // namespace qx
