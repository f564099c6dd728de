// The Chinese build: every grid cell and status text shows whole.
#include "tests/app/ui/TextFitChecks.h"
#include "tests/app/ui/WindowFixture.h"
#include "texts/Language.h"

namespace qx {
namespace {

using test::WindowTest;

TEST_F(WindowTest, ChineseGridCellsShowTheirWholeTexts) {
  Show();
  test::ExpectGridsShowTheirWidestTexts(window);
}

TEST_F(WindowTest, ChineseStatusPanelsShowTheirLongestTexts) {
  ASSERT_EQ(BuildLanguage(), Language::Chinese);
  Show();
  test::ExpectStatusPanelsShowTheirLongestTexts(window);
}

}  // namespace
}  // namespace qx
