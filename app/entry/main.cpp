#include <QApplication>
#include <QMessageBox>

#include "texts/Texts.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(qx::Text(qx::TextId::ProgramTitle)));
  QMessageBox box;
  box.setWindowTitle(QString::fromUtf8(qx::Text(qx::TextId::MainCaption)));
  box.setText(QString::fromUtf8(qx::Text(qx::TextId::ProgramTitle)));
  box.show();
  return QApplication::exec();
}
