#include "core/app_config.h"

#include <mutex>

namespace prunko {

namespace {

std::mutex config_mutex;

AppConfig& Record() {
  static AppConfig record;
  return record;
}

}  // namespace

AppConfig CurrentConfig() {
  std::lock_guard lock(config_mutex);
  return Record();
}

void UpdateConfig(const std::function<void(AppConfig&)>& edit) {
  std::lock_guard lock(config_mutex);
  edit(Record());
}

void ResetConfigRecord() {
  std::lock_guard lock(config_mutex);
  Record() = AppConfig{};
}

}  // namespace prunko
