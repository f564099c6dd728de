#pragma once
// The About box's picture: a chip on a programmer's socket, drawn rather than stored.
#include <QWidget>

namespace qx {

class TAboutPicture : public QWidget {
  Q_OBJECT

 public:
  explicit TAboutPicture(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace qx
