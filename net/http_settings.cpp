#include "net/http_settings.h"

#include <mutex>

namespace prunko {
namespace {

std::mutex settings_mutex;

HttpSettings& Record() {
  static HttpSettings settings;
  return settings;
}

}  // namespace

HttpSettings CurrentHttpSettings() {
  std::lock_guard lock(settings_mutex);
  return Record();
}

void SetHttpSettings(const HttpSettings& settings) {
  std::lock_guard lock(settings_mutex);
  Record() = settings;
}

}  // namespace prunko
