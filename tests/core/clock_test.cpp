#include "core/clock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "core/fake_clock.h"
#include "support/test_support.h"

namespace prunko {
namespace {

TEST(Event, ManualAndAutoReset) {
  Event manual(EventReset::kManual);
  EXPECT_FALSE(manual.TryTake());
  manual.Set();
  EXPECT_TRUE(manual.Wait(0));
  EXPECT_TRUE(manual.Wait(0));  // stays set
  manual.Reset();
  EXPECT_FALSE(manual.Wait(0));

  Event automatic(EventReset::kAuto, true);
  EXPECT_TRUE(automatic.Wait(0));
  EXPECT_FALSE(automatic.Wait(0));  // one waiter took it
}

TEST(Event, RealWaitIsBoundedAndWakesOnSet) {
  Event event(EventReset::kAuto);
  EXPECT_FALSE(event.Wait(20));
  std::thread setter([&] { event.Set(); });
  EXPECT_TRUE(event.Wait(-1));
  setter.join();
}

TEST(FakeClock, SleepsAndTimedOutWaitsTakeNoRealTime) {
  FakeClock clock(QDateTime(QDate(2018, 1, 5), QTime(23, 59, 0)));
  ScopedClock use(clock);
  Event stop(EventReset::kManual);
  const auto started = std::chrono::steady_clock::now();

  CurrentClock().Sleep(60000);
  EXPECT_FALSE(stop.Wait(5 * 60 * 1000));
  stop.Set();
  EXPECT_TRUE(stop.Wait(5 * 60 * 1000));  // a set event is not waited for

  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
  EXPECT_EQ(clock.Sleeps(), std::vector<qint64>{60000});
  EXPECT_EQ(clock.TimedOutWaits(), std::vector<qint64>{300000});
  EXPECT_EQ(CurrentClock().TickCount(), 360000);
  EXPECT_EQ(CurrentClock().LocalNow(), QDateTime(QDate(2018, 1, 6), QTime(0, 5, 0)));
}

TEST(FakeClock, ThreadsShareItSafely) {
  FakeClock clock;
  ScopedClock use(clock);
  Event go(EventReset::kManual);
  std::atomic<int> woke{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i) {
    threads.emplace_back([&] {
      for (int k = 0; k < 100; ++k) CurrentClock().Sleep(10);
      if (go.Wait(-1)) ++woke;
    });
  }
  go.Set();
  for (auto& t : threads) t.join();
  EXPECT_EQ(woke.load(), 4);
  EXPECT_EQ(clock.TickCount(), 4000);
  EXPECT_EQ(clock.Sleeps().size(), 400u);
}

}  // namespace
}  // namespace prunko
