#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>

#include <array>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "serial/TComm.h"
#include "serial/ui/QtEventPoster.h"
#include "tests/serial/PseudoTerminal.h"

namespace qx {
namespace {

using namespace std::chrono_literals;

class QtApp : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "qt_event_poster_test";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QCoreApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QCoreApplication> app_;
};
const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new QtApp);

template <typename Pred>
bool ServeEventsUntil(Pred done, std::chrono::milliseconds timeout = 10s) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

TEST(QtEventPoster, PostsFromOtherThreadsRunOnTheGuiThreadInTheirOrder) {
  QtEventPoster poster;
  constexpr int kThreads = 4;
  constexpr int kPosts = 500;
  std::array<std::vector<int>, kThreads> seen;
  bool allOnGuiThread = true;
  const QThread* gui = QThread::currentThread();
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kPosts; ++i) {
        poster.post([&, t, i] {
          allOnGuiThread = allOnGuiThread && QThread::currentThread() == gui;
          seen[t].push_back(i);
        });
      }
    });
  }
  for (auto& th : threads) th.join();
  ASSERT_TRUE(ServeEventsUntil([&] {
    for (const auto& v : seen) {
      if (v.size() < kPosts) return false;
    }
    return true;
  }));
  EXPECT_TRUE(allOnGuiThread);
  for (const auto& v : seen) {
    ASSERT_EQ(v.size(), static_cast<std::size_t>(kPosts));
    for (int i = 0; i < kPosts; ++i) EXPECT_EQ(v[i], i);
  }
}

TEST(QtEventPoster, PostsStillQueuedWhenThePosterGoesAreDropped) {
  int ran = 0;
  {
    QtEventPoster poster;
    for (int i = 0; i < 10; ++i) poster.post([&] { ++ran; });
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(ran, 0);
}

TEST(QtEventPoster, CarriesAPortsReceivedBytesToTheGuiThread) {
  test::PseudoTerminal pty;
  ASSERT_TRUE(pty.ok());
  QtEventPoster poster;
  TComm comm(poster);
  SetProgrammerLinePreset(comm);
  comm.SetCommName(pty.SlavePath());
  std::vector<u8> got;
  comm.OnReceiveData = [&](TComm&, std::span<const u8> d) { got.insert(got.end(), d.begin(), d.end()); };
  comm.OpenPort();
  std::vector<u8> sent(3000);
  for (std::size_t i = 0; i < sent.size(); ++i) sent[i] = static_cast<u8>(i * 7);
  ASSERT_TRUE(pty.WriteAll(sent));
  ASSERT_TRUE(ServeEventsUntil([&] { return got.size() >= sent.size(); }));
  EXPECT_EQ(got, sent);
  comm.ClosePort();
}

}  // namespace
}  // namespace qx
