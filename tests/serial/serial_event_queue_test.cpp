#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "serial/PumpedEventQueue.h"

namespace qx {
namespace {

using namespace std::chrono_literals;

TEST(SerialEventQueue, RunsPostsOnThePumpingThreadKeepingEachPostersOrder) {
  PumpedEventQueue queue;
  constexpr int kThreads = 4;
  constexpr int kPosts = 2000;
  std::vector<std::vector<int>> seen(kThreads);
  std::vector<std::thread::id> ranOn;
  std::vector<std::thread> posters;
  for (int t = 0; t < kThreads; ++t) {
    posters.emplace_back([&, t] {
      for (int i = 0; i < kPosts; ++i) {
        queue.post([&, t, i] {
          seen[static_cast<std::size_t>(t)].push_back(i);
          if (ranOn.empty() || ranOn.back() != std::this_thread::get_id()) ranOn.push_back(std::this_thread::get_id());
        });
      }
    });
  }
  for (auto& p : posters) p.join();
  EXPECT_TRUE(queue.PumpUntil([&] { return queue.Pending() == 0; }, 5s));
  ASSERT_EQ(ranOn.size(), 1u);
  EXPECT_EQ(ranOn[0], std::this_thread::get_id());
  for (const auto& s : seen) {
    ASSERT_EQ(s.size(), static_cast<std::size_t>(kPosts));
    for (int i = 0; i < kPosts; ++i) EXPECT_EQ(s[static_cast<std::size_t>(i)], i);
  }
}

TEST(SerialEventQueue, PostsMadeDuringAPumpWaitForTheNextOneAndTimeoutEndsTheWait) {
  PumpedEventQueue queue;
  int runs = 0;
  queue.post([&] {
    ++runs;
    queue.post([&] { ++runs; });
  });
  EXPECT_EQ(queue.Pump(), 1u);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(queue.Pending(), 1u);
  EXPECT_EQ(queue.Pump(), 1u);
  EXPECT_EQ(runs, 2);
  EXPECT_FALSE(queue.PumpUntil([&] { return runs == 3; }, 20ms));
}

}  // namespace
}  // namespace qx
