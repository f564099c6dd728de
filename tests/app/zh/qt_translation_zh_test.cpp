// The Chinese build: Qt's own dialogs speak Chinese once its catalogue is installed.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>

#include "app/ui/QtTranslation.h"
#include "tests/support/QtAppEnvironment.h"

namespace qx {
namespace {

TEST(QtTranslation, TheChineseFileDialogHasChineseButtons) {
  QTranslator translator;
  ASSERT_TRUE(InstallQtTranslation(translator));
  {
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    ASSERT_NE(buttons->button(QDialogButtonBox::Cancel), nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text().toStdString(), "取消");
    EXPECT_EQ(buttons->button(QDialogButtonBox::Open)->text().toStdString(), "打开(&O)");
  }
  QCoreApplication::removeTranslator(&translator);
}

}  // namespace
}  // namespace qx
