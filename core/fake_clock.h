#pragma once

#include <QDateTime>

#include <mutex>
#include <vector>

#include "core/clock.h"

namespace prunko {

// A clock for tests: time stands still until a sleep, a timed-out wait or the
// test moves it. Sleeps and waits return at once and are recorded, so a test
// can assert "slept 60000 ms" without waiting for it. Thread-safe.
class FakeClock final : public Clock {
 public:
  explicit FakeClock(const QDateTime& local_now = QDateTime(QDate(2018, 1, 5), QTime(9, 0, 0)));

  qint64 TickCount() override;
  QDateTime LocalNow() override;
  void Sleep(qint64 ms) override;
  // A set event returns true at once. An unset one with a time-out moves the
  // time on by it and returns false; without a time-out it waits for real.
  bool Wait(Event& event, qint64 timeout_ms) override;

  void SetLocalNow(const QDateTime& local_now);
  void Advance(qint64 ms);
  // What was slept, and the time-outs of the waits that ran out, in order.
  std::vector<qint64> Sleeps() const;
  std::vector<qint64> TimedOutWaits() const;

 private:
  mutable std::mutex mutex_;
  QDateTime local_now_;
  qint64 ticks_ = 0;
  std::vector<qint64> sleeps_;
  std::vector<qint64> timed_out_waits_;
};

}  // namespace prunko
