// The English build: every grid cell and status text shows whole.
#include "tests/app/ui/TextFitChecks.h"
#include "tests/app/ui/WindowFixture.h"

namespace qx {
namespace {

using test::WindowTest;

TEST_F(WindowTest, GridCellsShowTheirWholeTexts) {
  Show();
  test::ExpectGridsShowTheirWidestTexts(window);
}

TEST_F(WindowTest, StatusPanelsShowTheirLongestTexts) {
  Show();
  test::ExpectStatusPanelsShowTheirLongestTexts(window);
}

}  // namespace
}  // namespace qx
