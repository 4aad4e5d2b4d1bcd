#pragma once

#include <QDateTime>

#include <condition_variable>
#include <mutex>

namespace prunko {

class Event;

// Every tick count, sleep and timed wait of the program goes through the
// current clock, so tests can run the long pauses of the send engine in no
// real time (see FakeClock).
class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds on a monotonic scale.
  virtual qint64 TickCount() = 0;
  virtual QDateTime LocalNow() = 0;
  QDateTime UtcNow() { return LocalNow().toUTC(); }
  virtual void Sleep(qint64 ms) = 0;
  // Waits until `event` is set or `timeout_ms` has passed; a negative time-out
  // waits for the event alone. True when the event was set.
  virtual bool Wait(Event& event, qint64 timeout_ms) = 0;
};

// The process's clock: the real one unless a test installed another.
Clock& CurrentClock();
// Installs `clock` (not owned); nullptr restores the real clock.
void SetClock(Clock* clock);

// Installs a clock for the lifetime of a scope.
class ScopedClock {
 public:
  explicit ScopedClock(Clock& clock) { SetClock(&clock); }
  ~ScopedClock() { SetClock(nullptr); }
  ScopedClock(const ScopedClock&) = delete;
  ScopedClock& operator=(const ScopedClock&) = delete;
};

enum class EventReset { kManual, kAuto };

// A set/reset event like the platform's: a manual-reset event stays set until
// reset; an auto-reset event releases one waiter and clears itself.
class Event {
 public:
  explicit Event(EventReset mode, bool initially_set = false)
      : manual_(mode == EventReset::kManual), set_(initially_set) {}
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;

  void Set();
  void Reset();
  bool IsSet() const;
  // Through the current clock; see Clock::Wait.
  bool Wait(qint64 timeout_ms) { return CurrentClock().Wait(*this, timeout_ms); }

  // For clocks: true when set, clearing an auto-reset event.
  bool TryTake();
  // For clocks: a wait in real time (negative: no limit).
  bool WaitRealFor(qint64 timeout_ms);

 private:
  const bool manual_;
  mutable std::mutex mutex_;
  std::condition_variable cv_;
  bool set_;
};

}  // namespace prunko
