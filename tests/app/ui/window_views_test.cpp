// What the window shows: gauges, the info panel, the port list, the status bar, the message
// log with its context commands, the grids, the message boxes.
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTableView>
#include <QTextBlock>
#include <chrono>
#include <functional>

#include "app/ui/MessageBoxes.h"
#include "app/ui/ProgressGauges.h"
#include "tests/app/ui/WindowFixture.h"

namespace qx {
namespace {

using test::WindowTest;

class Gauges : public WindowTest {
 protected:
  void SetUp() override { Show(); }
  QProgressBar& Bar(int k) { return Find<QProgressBar>(QStringLiteral("Gauge%1").arg(k + 1)); }
  int Top(QWidget& w) { return w.mapTo(&Find<QWidget>("ChipSett"), QPoint(0, 0)).y(); }
  int Arrange(int units) {  // returns the number of gauges shown
    window.ArrangeProgressGauges(units);
    QApplication::processEvents();
    int shown = 0;
    while (shown < 10 && !Bar(shown).isHidden()) ++shown;
    for (int k = shown; k < 10; ++k) EXPECT_TRUE(Bar(k).isHidden()) << "Gauge" << k + 1;
    return shown;
  }
};

TEST_F(Gauges, OneGaugePerUnitInWholeGroupsWithTheMemoEndingAboveTheFirst) {
  const struct {
    int units, shown;
  } table[] = {{0, 1}, {1, 1}, {2, 4}, {3, 4}, {5, 6}, {7, 8}, {9, 10}, {10, 10}};
  auto& memo = Find<QPlainTextEdit>("InfoMemo");
  int lastMemoHeight = 1 << 20;
  int lastShown = 0;
  int bottom = -1;
  for (const auto& row : table) {
    SCOPED_TRACE(row.units);
    ASSERT_EQ(Arrange(row.units), row.shown);
    const int memoBottom = Top(memo) + memo.height();
    const int gap = Top(Bar(0)) - memoBottom;
    EXPECT_GE(gap, 0);
    EXPECT_LE(gap, 8);
    const int pitch = row.shown > 1 ? Top(Bar(1)) - Top(Bar(0)) : 0;
    for (int k = 1; k < row.shown; ++k) EXPECT_EQ(Top(Bar(k)) - Top(Bar(k - 1)), pitch);
    const int lastBottom = Top(Bar(row.shown - 1)) + Bar(row.shown - 1).height();
    if (bottom < 0) bottom = lastBottom;
    EXPECT_EQ(lastBottom, bottom);  // the last gauge stays at the foot of the column
    // More gauges, a shorter memo; the same gauges, the same memo.
    if (row.shown > lastShown) {
      EXPECT_LT(memo.height(), lastMemoHeight);
    } else {
      EXPECT_EQ(memo.height(), lastMemoHeight);
    }
    lastMemoHeight = memo.height();
    lastShown = row.shown;
  }
}

TEST_F(Gauges, AFewerCountHidesGaugesThatALargerCountShowsAgain) {
  EXPECT_EQ(Arrange(3), 4);
  EXPECT_EQ(Arrange(1), 1);
  EXPECT_EQ(Arrange(3), 4);
  for (int k = 1; k < 4; ++k) EXPECT_FALSE(Bar(k).isHidden());
}

TEST_F(Gauges, UnitEventsSetRangeValueAndColourThroughOneClampingHelper) {
  QProgressBar& bar = Bar(2);
  window.UnitStepBegan(2, 1, {4, 10, GaugeState::Running});
  window.RepaintViews();
  EXPECT_EQ(bar.maximum(), 10);
  EXPECT_EQ(bar.value(), 4);
  EXPECT_EQ(bar.palette().color(QPalette::Highlight), GaugeColour(GaugeState::Running));
  window.UnitProgress(2, {15, 10, GaugeState::Running});
  window.RepaintViews();
  EXPECT_EQ(bar.value(), 10);
  window.UnitProgress(2, {7, 5, GaugeState::Running});  // the range shrinks under the value
  window.RepaintViews();
  EXPECT_EQ(bar.maximum(), 5);
  EXPECT_EQ(bar.value(), 5);
  window.UnitProgress(2, {-3, 5, GaugeState::Running});
  window.RepaintViews();
  EXPECT_EQ(bar.value(), 0);
  window.UnitStepEnded(2, 1, 9, false, {5, 5, GaugeState::Failed});
  EXPECT_EQ(bar.value(), 5);
  EXPECT_EQ(bar.palette().color(QPalette::Highlight), GaugeColour(GaugeState::Failed));
  window.UnitStepBegan(2, 1, {2, 4, GaugeState::Running});
  window.UnitStepEnded(2, 1, 0, true, {4, 4, GaugeState::Ok});
  EXPECT_EQ(bar.value(), 4);
  EXPECT_EQ(bar.palette().color(QPalette::Highlight), GaugeColour(GaugeState::Ok));
  EXPECT_NE(GaugeColour(GaugeState::Ok), GaugeColour(GaugeState::Failed));
  EXPECT_NE(GaugeColour(GaugeState::Running), GaugeColour(GaugeState::Failed));

  window.UnitProgress(2, {0, 0, GaugeState::Running});  // an empty range is no busy indicator
  window.RepaintViews();
  EXPECT_LT(bar.minimum(), bar.maximum());
  EXPECT_EQ(bar.value(), 0);

  window.UnitProgress(10, {1, 2, GaugeState::Failed});  // no such unit: nothing changes
  window.RepaintViews();
  for (int k = 0; k < 10; ++k) {
    if (k != 2) {
      EXPECT_EQ(Bar(k).value(), 0) << k;
    }
  }
}

// Runs the event loop until done holds; false when it never does.
bool ServeUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return true;
}

TEST_F(Gauges, ProgressIsPaintedTogetherLaterAndExactlyAtTheStepsEnd) {
  QProgressBar& bar = Bar(1);
  QProgressBar& other = Bar(4);
  QSignalSpy painted(&bar, &QProgressBar::valueChanged);
  window.UnitStepBegan(1, 1, {0, 1000, GaugeState::Running});
  window.UnitStepBegan(4, 1, {0, 1000, GaugeState::Running});
  for (int i = 1; i <= 600; ++i) {
    window.UnitProgress(1, {i, 1000, GaugeState::Running});
    window.UnitProgress(4, {2 * i, 1000, GaugeState::Running});
  }
  // Nothing is painted while the replies come in...
  EXPECT_EQ(painted.count(), 0);
  EXPECT_NE(bar.maximum(), 1000);
  // ...and then the last of them, for every gauge in one go.
  ASSERT_TRUE(ServeUntil([&] { return bar.value() == 600; }));
  EXPECT_EQ(bar.maximum(), 1000);
  EXPECT_EQ(other.value(), 1000);
  EXPECT_LE(painted.count(), 1);

  window.UnitProgress(1, {700, 1000, GaugeState::Running});
  window.UnitStepEnded(1, 1, 9, false, {800, 1000, GaugeState::Failed});
  EXPECT_EQ(bar.value(), 800);
  EXPECT_EQ(bar.palette().color(QPalette::Highlight), GaugeColour(GaugeState::Failed));
}

TEST_F(WindowTest, InfoPanelPortListAndStatusBar) {
  window.SetInfoCaption("Searching Devices............");
  EXPECT_EQ(Find<QLabel>("InfoPanel").text(), "Searching Devices............");

  auto& combo = Find<QComboBox>("ComboBoxCOM");
  PortList list;
  list.Entries = {"/dev/pts/3", "/dev/pts/4"};
  list.Text = "/dev/pts/4";
  window.ShowPortList(list);
  EXPECT_EQ(combo.count(), 2);
  EXPECT_EQ(combo.itemText(0), "/dev/pts/3");
  EXPECT_EQ(combo.currentText(), "/dev/pts/4");
  list.Entries = {"/dev/pts/3"};
  list.Text = "No COM Port";
  window.ShowPortList(list);
  EXPECT_EQ(combo.count(), 1);
  EXPECT_EQ(test::ShownText(combo), "No COM Port");
  list.Entries.clear();
  list.Text = "Please Connect device......";
  window.ShowPortList(list);
  EXPECT_EQ(combo.count(), 0);
  EXPECT_EQ(test::ShownText(combo), "Please Connect device......");

  window.SetStatusPanel(2, "/home/op/app.hex");
  window.SetStatusPanel(3, "nowhere");
  const auto panels = Find<QStatusBar>("StatusBar1").findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
  ASSERT_EQ(panels.size(), 3);
  EXPECT_EQ(panels[2]->text(), "/home/op/app.hex");
}

class LogView : public WindowTest {
 protected:
  LogView() { window.SetMessageLog(log); }
  QPlainTextEdit& Memo() { return Find<QPlainTextEdit>("InfoMemo"); }
  MessageLog log{[] { return std::string("12:00:00"); }};
};

TEST_F(LogView, HoldsFiftyThousandLinesAsPlainTextWithoutHistory) {
  constexpr int kLines = 50000;
  for (int i = 0; i < kLines; ++i) log.AddInfoLine(" C3 : line " + std::to_string(i));
  log.AddLine("<b>bold?</b> &amp; \t tab");
  window.RepaintViews();
  QPlainTextEdit& memo = Memo();
  EXPECT_EQ(memo.document()->blockCount(), kLines + 1);
  EXPECT_EQ(memo.document()->firstBlock().text(), "> 12:00:00  C3 : line 0");
  EXPECT_EQ(memo.document()->findBlockByNumber(kLines - 1).text(), "> 12:00:00  C3 : line 49999");
  EXPECT_EQ(memo.document()->lastBlock().text(), "<b>bold?</b> &amp; \t tab");
  // A log is not an edit: no undo history grows with it.
  EXPECT_EQ(memo.document()->availableUndoSteps(), 0);
  EXPECT_EQ(log.Lines().size(), static_cast<std::size_t>(kLines + 1));
}

TEST_F(LogView, ClearEmptiesTheLogAndTheMemo) {
  log.AddInfoLine("one");
  window.RepaintViews();
  log.AddInfoLine("two");  // not shown yet: it goes with the rest
  Find<QAction>("ClearInformation1").trigger();
  EXPECT_TRUE(log.Lines().empty());
  EXPECT_TRUE(Memo().document()->isEmpty());
  log.AddInfoLine("three");
  window.RepaintViews();
  EXPECT_EQ(Memo().toPlainText(), "> 12:00:00 three");
}

TEST_F(LogView, LinesReachTheMemoTogetherInOrderAndBeforeAnyBox) {
  log.AddInfoLine("a");
  log.AddLine("");
  log.AddInfoLine("b");
  EXPECT_TRUE(Memo().document()->isEmpty());
  ASSERT_TRUE(ServeUntil([&] { return !Memo().document()->isEmpty(); }));
  EXPECT_EQ(Memo().toPlainText(), "> 12:00:00 a\n\n> 12:00:00 b");

  log.AddInfoLine("why");
  QString shownWithTheBox;
  window.ShowMessage = [&](MsgKind, std::string_view, MsgButtons) {
    shownWithTheBox = Memo().document()->lastBlock().text();
    return MsgAnswer::Ok;
  };
  window.Ask(MsgKind::Error, "Error!", MsgButtons::Ok);
  EXPECT_EQ(shownWithTheBox, "> 12:00:00 why");
}

TEST_F(LogView, CopyTakesTheSelectionAndNothingWithoutOne) {
  log.AddInfoLine("first");
  log.AddInfoLine("second");
  window.RepaintViews();
  QClipboard* clipboard = QApplication::clipboard();
  clipboard->setText("kept");
  Find<QAction>("CopytoCli1").trigger();
  EXPECT_EQ(clipboard->text(), "kept");
  Memo().selectAll();
  Find<QAction>("CopytoCli1").trigger();
  EXPECT_EQ(clipboard->text(), "> 12:00:00 first\n> 12:00:00 second");
}

class RecordingRefresh : public GridRefresh {
 public:
  void ShowRange(u32 first, u32 last) override { calls.push_back("show " + std::to_string(first) + ".." + std::to_string(last)); }
  void UpdateRows(u32 first, u32 last) override { calls.push_back("rows " + std::to_string(first) + ".." + std::to_string(last)); }
  void Reload() override { calls.push_back("reload"); }
  void ShowHeaderOnly() override { calls.push_back("header"); }
  std::vector<std::string> calls;
};

TEST_F(WindowTest, GridsTakeTheirModelsAndTheViewRefreshes) {
  window.ShowMainHex(0, 15);  // nothing attached yet: nothing to refresh, nothing breaks
  QStandardItemModel model(3, 18);
  RecordingRefresh main, eep, option;
  window.AttachGridModel(HexGrid::Main, model, main);
  window.AttachGridModel(HexGrid::Eep, model, eep);
  window.AttachGridModel(HexGrid::Option, model, option);
  for (const char* name : {"HexViewer", "EEPDataView", "OptionView"}) {
    SCOPED_TRACE(name);
    auto& grid = Find<QTableView>(name);
    EXPECT_EQ(grid.model(), &model);
    // The designed sizes are the least (the text-fit tests check the font's needs); every
    // byte column is as wide as the others.
    EXPECT_GE(grid.columnWidth(0), 73);
    for (int c = 1; c <= 16; ++c) EXPECT_EQ(grid.columnWidth(c), grid.columnWidth(1)) << c;
    EXPECT_GE(grid.columnWidth(1), 25);
    EXPECT_GE(grid.columnWidth(17), 130);
    EXPECT_GE(grid.rowHeight(2), 20);
  }
  window.ShowMainHex(0, 1029);
  window.UpdateMainHexRows(0x0800FFF0, 0x0800FFF3);
  window.ShowEepData();
  window.ShowOptionData();
  EXPECT_EQ(main.calls, (std::vector<std::string>{"show 0..1029", "rows 134283248..134283251"}));
  EXPECT_EQ(eep.calls, std::vector<std::string>{"reload"});
  EXPECT_EQ(option.calls, std::vector<std::string>{"reload"});
}

TEST_F(WindowTest, AskGoesThroughTheMessageBoxSeam) {
  answer = MsgAnswer::Abort;
  EXPECT_EQ(window.Ask(MsgKind::Warning, "Verify failed", MsgButtons::OkAbort), MsgAnswer::Abort);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].kind, MsgKind::Warning);
  EXPECT_EQ(boxes[0].text, "Verify failed");
  EXPECT_EQ(boxes[0].buttons, MsgButtons::OkAbort);
}

TEST(MessageBoxes, DesignedButtonsCaptionedAndAnswered) {
  const struct {
    MsgButtons buttons;
    QStringList captions;
    MsgAnswer second, dismissed;
  } table[] = {
      {MsgButtons::Ok, {"OK"}, MsgAnswer::Ok, MsgAnswer::Ok},
      {MsgButtons::OkAbort, {"OK", "Abort"}, MsgAnswer::Abort, MsgAnswer::Abort},
      {MsgButtons::YesAbort, {"Yes", "Abort"}, MsgAnswer::Abort, MsgAnswer::Abort},
      {MsgButtons::YesNo, {"Yes", "No"}, MsgAnswer::No, MsgAnswer::No},
      {MsgButtons::OkCancel, {"OK", "Cancel"}, MsgAnswer::Cancel, MsgAnswer::Cancel},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.captions.join('/').toStdString());
    auto box = MakeMessageBox(nullptr, MsgKind::Confirmation, "text", row.buttons);
    EXPECT_EQ(box->text(), "text");
    EXPECT_EQ(box->windowTitle(), "QX740VRD Flash MCU Programmer");
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    QStringList captions;
    for (QAbstractButton* b : box->buttons()) captions << b->text();
    captions.sort();
    QStringList expected = row.captions;
    expected.sort();
    EXPECT_EQ(captions, expected);
    EXPECT_EQ(AnswerOf(*box, row.buttons), row.dismissed);
    // Clicking a button of a box that is not executing closes it without a modal wait.
    box->button(box->standardButtons() & QMessageBox::Ok ? QMessageBox::Ok : QMessageBox::Yes)->click();
    EXPECT_EQ(AnswerOf(*box, row.buttons), row.buttons == MsgButtons::YesAbort || row.buttons == MsgButtons::YesNo
                                                ? MsgAnswer::Yes
                                                : MsgAnswer::Ok);
    if (row.captions.size() > 1) {
      auto other = MakeMessageBox(nullptr, MsgKind::Error, "text", row.buttons);
      QAbstractButton* second = nullptr;
      for (QAbstractButton* b : other->buttons())
        if (b->text() == row.captions[1]) second = b;
      ASSERT_NE(second, nullptr);
      second->click();
      EXPECT_EQ(AnswerOf(*other, row.buttons), row.second);
      EXPECT_EQ(other->icon(), QMessageBox::Critical);
    }
  }
}

}  // namespace
}  // namespace qx
