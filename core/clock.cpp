#include "core/clock.h"

#include <QElapsedTimer>

#include <atomic>
#include <chrono>
#include <thread>

namespace prunko {
namespace {

class RealClock final : public Clock {
 public:
  RealClock() { timer_.start(); }
  qint64 TickCount() override { return timer_.elapsed(); }
  QDateTime LocalNow() override { return QDateTime::currentDateTime(); }
  void Sleep(qint64 ms) override {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  }
  bool Wait(Event& event, qint64 timeout_ms) override { return event.WaitRealFor(timeout_ms); }

 private:
  QElapsedTimer timer_;
};

RealClock& TheRealClock() {
  static RealClock clock;
  return clock;
}

std::atomic<Clock*> installed_clock{nullptr};

}  // namespace

Clock& CurrentClock() {
  Clock* clock = installed_clock.load(std::memory_order_acquire);
  return clock ? *clock : TheRealClock();
}

void SetClock(Clock* clock) { installed_clock.store(clock, std::memory_order_release); }

void Event::Set() {
  {
    std::lock_guard lock(mutex_);
    set_ = true;
  }
  if (manual_) {
    cv_.notify_all();
  } else {
    cv_.notify_one();
  }
}

void Event::Reset() {
  std::lock_guard lock(mutex_);
  set_ = false;
}

bool Event::IsSet() const {
  std::lock_guard lock(mutex_);
  return set_;
}

bool Event::TryTake() {
  std::lock_guard lock(mutex_);
  if (!set_) return false;
  if (!manual_) set_ = false;
  return true;
}

bool Event::WaitRealFor(qint64 timeout_ms) {
  std::unique_lock lock(mutex_);
  const auto is_set = [this] { return set_; };
  if (timeout_ms < 0) {
    cv_.wait(lock, is_set);
  } else if (!cv_.wait_for(lock, std::chrono::milliseconds(timeout_ms), is_set)) {
    return false;
  }
  if (!manual_) set_ = false;
  return true;
}

}  // namespace prunko
