#include "core/app_config.h"

#include "core/guarded_record.h"

namespace prunko {
namespace {

GuardedRecord<AppConfig>& Record() {
  static GuardedRecord<AppConfig> record;
  return record;
}

}  // namespace

AppConfig CurrentConfig() { return Record().Get(); }

void UpdateConfig(const std::function<void(AppConfig&)>& edit) { Record().Update(edit); }

void ResetConfigRecord() { Record().Set(AppConfig{}); }

}  // namespace prunko
