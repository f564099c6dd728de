// The Chinese build: every caption of the window comes from the Chinese catalogue.
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <set>

#include "app/ui/RadioGroup.h"
#include "tests/app/ui/WindowFixture.h"
#include "texts/Texts.h"

namespace qx {
namespace {

using test::WindowTest;

TEST_F(WindowTest, ChineseBuildShowsOnlyChineseCatalogueTexts) {
  ASSERT_EQ(BuildLanguage(), Language::Chinese);
  Show();
  std::set<QString> catalogue;
  for (std::size_t i = 0; i < kTextCount; ++i) catalogue.insert(QString::fromUtf8(Text(static_cast<TextId>(i)).data()));

  std::vector<std::pair<QString, QString>> shown;  // where, what
  shown.emplace_back("title", window.windowTitle());
  for (QObject* o : window.findChildren<QObject*>()) {
    if (qobject_cast<QLineEdit*>(o) != nullptr && o->objectName() != "MCUNameEdit") continue;  // numbers
    if (auto* w = qobject_cast<QWidget*>(o); w != nullptr && !w->toolTip().isEmpty())
      shown.emplace_back(o->objectName() + " hint", w->toolTip());
    if (auto* a = qobject_cast<QAction*>(o); a != nullptr && a->isSeparator()) continue;
    shown.emplace_back(o->objectName(), test::ShownText(*o));
  }
  for (auto* tabs : window.findChildren<QTabWidget*>())
    for (int i = 0; i < tabs->count(); ++i) shown.emplace_back(tabs->widget(i)->objectName(), tabs->tabText(i));

  int checked = 0;
  for (const auto& [where, text] : shown) {
    if (text.isEmpty()) continue;
    ++checked;
    EXPECT_TRUE(catalogue.count(text) == 1) << where.toStdString() << ": " << text.toStdString();
  }
  EXPECT_GT(checked, 100);  // the walk reached the window's texts
}

TEST_F(WindowTest, AFewChineseCaptions) {
  Show();
  EXPECT_EQ(window.windowTitle(), "QX740VVRD 编程向导.");
  EXPECT_EQ(Find<QToolButton>("AutoSpdBtn").text(), "自动编程(&A)");
  EXPECT_EQ(Find<QToolButton>("SpdBtnExit").toolTip(), "退出程序");
  EXPECT_EQ(Find<QMenu>("File1").title(), "文件(&F)");
  EXPECT_EQ(Find<TRadioGroup>("RadioGrpRST").Items().at(1)->text(), "关闭复位(高阻)");
  EXPECT_EQ(Find<QStatusBar>("StatusBar1").findChildren<QLabel*>(Qt::FindDirectChildrenOnly).at(0)->text(),
            "文件校验和: ");
  auto& pages = Find<QTabWidget>("PageControlSet");
  EXPECT_EQ(pages.tabText(pages.indexOf(&Find<QWidget>("TabSheetSN"))), "序列号设置");
}

}  // namespace
}  // namespace qx
