#include "core/fake_clock.h"

namespace prunko {

FakeClock::FakeClock(const QDateTime& local_now) : local_now_(local_now) {}

qint64 FakeClock::TickCount() {
  std::lock_guard lock(mutex_);
  return ticks_;
}

QDateTime FakeClock::LocalNow() {
  std::lock_guard lock(mutex_);
  return local_now_;
}

void FakeClock::Sleep(qint64 ms) {
  std::lock_guard lock(mutex_);
  sleeps_.push_back(ms);
  if (ms > 0) {
    ticks_ += ms;
    local_now_ = local_now_.addMSecs(ms);
  }
}

bool FakeClock::Wait(Event& event, qint64 timeout_ms) {
  if (event.TryTake()) return true;
  if (timeout_ms < 0) return event.WaitRealFor(-1);
  std::lock_guard lock(mutex_);
  timed_out_waits_.push_back(timeout_ms);
  ticks_ += timeout_ms;
  local_now_ = local_now_.addMSecs(timeout_ms);
  return false;
}

void FakeClock::SetLocalNow(const QDateTime& local_now) {
  std::lock_guard lock(mutex_);
  local_now_ = local_now;
}

void FakeClock::Advance(qint64 ms) {
  std::lock_guard lock(mutex_);
  ticks_ += ms;
  local_now_ = local_now_.addMSecs(ms);
}

std::vector<qint64> FakeClock::Sleeps() const {
  std::lock_guard lock(mutex_);
  return sleeps_;
}

std::vector<qint64> FakeClock::TimedOutWaits() const {
  std::lock_guard lock(mutex_);
  return timed_out_waits_;
}

}  // namespace prunko
