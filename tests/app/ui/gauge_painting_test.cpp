// When the window paints its gauges and its log: a gauge only when what it shows changes
// (its filled pixels, its percentage, its range or colour), and the gauges and the log at
// their pace while changes keep coming, not only once they stop.
#include <QEvent>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTimer>
#include <chrono>
#include <functional>
#include <set>

#include "base/MessageLog.h"
#include "tests/app/ui/WindowFixture.h"

namespace qx {
namespace {

using test::WindowTest;

// The window's paint rounds: each update request of the window paints what is dirty.
class PaintRounds : public QObject {
 public:
  explicit PaintRounds(QWidget& window) { window.installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::UpdateRequest) ++round;
    return false;
  }
  int round = 0;
};

// The paints of a widget: the rounds they came in, and what it showed at each.
class PaintWatch : public QObject {
 public:
  PaintWatch(QWidget& widget, const PaintRounds& rounds, std::function<int()> showing)
      : rounds_(rounds), shown_(std::move(showing)) {
    widget.installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      paintedIn.insert(rounds_.round);
      shown.insert(shown_());
    }
    return false;
  }
  // Rounds this widget was painted in without other, which nobody changes: what a repaint
  // of the whole window (a layout settling) paints does not count.
  int OwnPaints(const PaintWatch& other) const {
    int n = 0;
    for (const int r : paintedIn) n += other.paintedIn.count(r) == 0 ? 1 : 0;
    return n;
  }
  std::set<int> paintedIn;
  std::set<int> shown;

 private:
  const PaintRounds& rounds_;
  std::function<int()> shown_;
};

class GaugePainting : public WindowTest {
 protected:
  void SetUp() override {
    window.SetMessageLog(log);
    window.ArrangeProgressGauges(10);
    Show();
  }
  QProgressBar& Bar(int k) { return Find<QProgressBar>(QStringLiteral("Gauge%1").arg(k + 1)); }
  QPlainTextEdit& Memo() { return Find<QPlainTextEdit>("InfoMemo"); }

  // Serves the event loop until done holds; false when it does not within a generous time.
  static bool ServeUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
  }

  MessageLog log{[] { return std::string("12:00:00"); }};
  PaintRounds rounds{window};
};

TEST_F(GaugePainting, AGaugeIsPaintedOnlyWhenWhatItShowsChanges) {
  QProgressBar& bar = Bar(1);
  QProgressBar& other = Bar(4);
  PaintWatch barPaints(bar, rounds, [&] { return bar.value(); });
  PaintWatch otherPaints(other, rounds, [&] { return other.value(); });
  PaintWatch untouched(Bar(9), rounds, [] { return 0; });
  constexpr int kMax = 1'000'000;  // a step of a few hundred moves no pixel and no percent
  window.UnitStepBegan(1, 1, {0, kMax, GaugeState::Running});
  window.UnitStepBegan(4, 1, {0, kMax, GaugeState::Running});
  window.RepaintViews();
  ASSERT_TRUE(ServeUntil([&] { return bar.maximum() == kMax && barPaints.OwnPaints(untouched) > 0; }));

  QSignalSpy valueSet(&bar, &QProgressBar::valueChanged);
  const int barBefore = barPaints.OwnPaints(untouched);
  for (int i = 1; i <= 300; ++i) {
    window.UnitProgress(1, {i, kMax, GaugeState::Running});
    window.RepaintViews();
  }
  // The other gauge changes visibly: once it has been painted, a change of ours would be too.
  window.UnitProgress(4, {kMax / 2, kMax, GaugeState::Running});
  window.RepaintViews();
  ASSERT_TRUE(ServeUntil([&] { return otherPaints.shown.count(kMax / 2) > 0; }));
  EXPECT_EQ(barPaints.OwnPaints(untouched), barBefore);
  EXPECT_EQ(valueSet.count(), 0);

  // A change of its percentage, then of its colour alone: painted, showing the gauge.
  window.UnitProgress(1, {kMax / 100, kMax, GaugeState::Running});
  window.RepaintViews();
  ASSERT_TRUE(ServeUntil([&] { return barPaints.shown.count(kMax / 100) > 0; }));
  const int afterPercent = barPaints.OwnPaints(untouched);
  EXPECT_GT(afterPercent, barBefore);
  window.UnitStepEnded(1, 1, 9, false, {kMax / 100, kMax, GaugeState::Failed});
  ASSERT_TRUE(ServeUntil([&] { return barPaints.OwnPaints(untouched) > afterPercent; }));
  EXPECT_EQ(bar.palette().color(QPalette::Highlight), GaugeColour(GaugeState::Failed));
}

TEST_F(GaugePainting, GaugesAndTheLogArePaintedWhileProgressKeepsComing) {
  // A unit's progress changes every 2 ms, each change visible, with a new log line every
  // tenth change: the gauge and the memo are to be painted during the stream, at their
  // pace. The stream ends once both have been painted with three different contents, or
  // after a generous number of changes.
  QProgressBar& bar = Bar(2);
  QPlainTextEdit& memo = Memo();
  constexpr int kMax = 1000;
  constexpr int kLimit = 4000;
  window.UnitStepBegan(2, 1, {0, kMax, GaugeState::Running});
  window.RepaintViews();
  ASSERT_TRUE(ServeUntil([&] { return bar.maximum() == kMax; }));
  PaintWatch barPaints(bar, rounds, [&] { return bar.value(); });
  PaintWatch memoPaints(*memo.viewport(), rounds, [&] { return memo.document()->blockCount(); });

  int changes = 0;
  bool seen = false;
  QEventLoop loop;
  QTimer stream;
  stream.setInterval(2);
  QObject::connect(&stream, &QTimer::timeout, &loop, [&] {
    seen = barPaints.shown.size() >= 3 && memoPaints.shown.size() >= 3;
    if (seen || changes >= kLimit) {
      loop.quit();
      return;
    }
    ++changes;
    window.UnitProgress(2, {changes % kMax, kMax, GaugeState::Running});
    if (changes % 10 == 0) log.AddInfoLine("line " + std::to_string(changes));
  });
  stream.start();
  loop.exec();
  stream.stop();

  EXPECT_TRUE(seen) << changes << " changes; the gauge painted " << barPaints.shown.size()
                    << " values, the memo " << memoPaints.shown.size() << " line counts";
}

}  // namespace
}  // namespace qx
