// The English build installs no catalogue: Qt's dialogs keep their own English texts.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>

#include "app/ui/QtTranslation.h"
#include "tests/support/QtAppEnvironment.h"

namespace qx {
namespace {

TEST(QtTranslation, TheEnglishBuildLoadsNone) {
  QTranslator translator;
  EXPECT_FALSE(InstallQtTranslation(translator));
  EXPECT_TRUE(translator.isEmpty());
  QFileDialog dialog;
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  auto* buttons = dialog.findChild<QDialogButtonBox*>();
  ASSERT_NE(buttons, nullptr);
  EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text().toStdString(), "Cancel");
}

}  // namespace
}  // namespace qx
