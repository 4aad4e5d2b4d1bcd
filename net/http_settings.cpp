#include "net/http_settings.h"

#include "core/guarded_record.h"

namespace prunko {
namespace {

GuardedRecord<HttpSettings>& Record() {
  static GuardedRecord<HttpSettings> settings;
  return settings;
}

}  // namespace

HttpSettings CurrentHttpSettings() { return Record().Get(); }

void SetHttpSettings(const HttpSettings& settings) { Record().Set(settings); }

}  // namespace prunko
