#include "cloud/account_session.h"

#include "core/guarded_record.h"

namespace prunko {
namespace {

GuardedRecord<AccountSession>& Record() {
  static GuardedRecord<AccountSession> account;
  return account;
}

}  // namespace

AccountSession CurrentAccount() { return Record().Get(); }

void SetAccount(const AccountSession& account) { Record().Set(account); }

}  // namespace prunko
