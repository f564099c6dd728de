// When the window paints its gauges and its log: a gauge is set only when what it shows
// changes (its filled pixels, its percentage, its range or colour), and the gauges and the
// log are painted at their pace while changes keep coming, not only once they stop.
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

// The paints of a widget: what it showed at each.
class PaintWatch : public QObject {
 public:
  PaintWatch(QWidget& widget, std::function<int()> showing) : shown_(std::move(showing)) { widget.installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) shown.insert(shown_());
    return false;
  }
  std::set<int> shown;

 private:
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
};

TEST_F(GaugePainting, AGaugeIsPaintedOnlyWhenWhatItShowsChanges) {
  QProgressBar& bar = Bar(1);
  QProgressBar& other = Bar(4);
  PaintWatch barValues(bar, [&] { return bar.value(); });
  PaintWatch barColours(bar, [&] { return static_cast<int>(bar.palette().color(QPalette::Highlight).rgb()); });
  PaintWatch otherValues(other, [&] { return other.value(); });
  constexpr int kMax = 1'000'000;  // a step of a few hundred moves no pixel and no percent
  window.UnitStepBegan(1, 1, {0, kMax, GaugeState::Running});
  window.UnitStepBegan(4, 1, {0, kMax, GaugeState::Running});
  window.RepaintViews();
  ASSERT_TRUE(ServeUntil([&] { return bar.maximum() == kMax && !barValues.shown.empty(); }));

  QSignalSpy valueSet(&bar, &QProgressBar::valueChanged);
  for (int i = 1; i <= 300; ++i) {
    window.UnitProgress(1, {i, kMax, GaugeState::Running});
    window.RepaintViews();
  }
  // The other gauge changes visibly: once it has been painted, a change of ours would be too.
  window.UnitProgress(4, {kMax / 2, kMax, GaugeState::Running});
  window.RepaintViews();
  ASSERT_TRUE(ServeUntil([&] { return otherValues.shown.count(kMax / 2) > 0; }));
  EXPECT_EQ(valueSet.count(), 0);
  EXPECT_EQ(bar.maximum(), kMax);
  for (int i = 1; i <= 300; ++i) EXPECT_EQ(barValues.shown.count(i), 0u) << "painted for a change to " << i;

  // A change of its percentage, then of its colour alone: painted.
  window.UnitProgress(1, {kMax / 100, kMax, GaugeState::Running});
  window.RepaintViews();
  ASSERT_TRUE(ServeUntil([&] { return barValues.shown.count(kMax / 100) > 0; }));
  window.UnitStepEnded(1, 1, 9, false, {kMax / 100, kMax, GaugeState::Failed});
  const int failed = static_cast<int>(GaugeColour(GaugeState::Failed).rgb());
  ASSERT_TRUE(ServeUntil([&] { return barColours.shown.count(failed) > 0; }));
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
  PaintWatch barPaints(bar, [&] { return bar.value(); });
  PaintWatch memoPaints(*memo.viewport(), [&] { return memo.document()->blockCount(); });

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
