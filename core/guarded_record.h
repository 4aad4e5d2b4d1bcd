#pragma once

#include <mutex>
#include <utility>

namespace prunko {

// A process-wide record written on one thread and read on others: readers
// get a consistent copy, writers replace or edit it under the same lock.
template <typename T>
class GuardedRecord {
 public:
  GuardedRecord() = default;
  explicit GuardedRecord(T initial) : value_(std::move(initial)) {}

  T Get() const {
    std::lock_guard lock(mutex_);
    return value_;
  }
  void Set(const T& value) {
    std::lock_guard lock(mutex_);
    value_ = value;
  }
  template <typename Edit>
  void Update(Edit&& edit) {
    std::lock_guard lock(mutex_);
    edit(value_);
  }

 private:
  mutable std::mutex mutex_;
  T value_{};
};

}  // namespace prunko
