#include "cloud/account_session.h"

#include <mutex>

namespace prunko {
namespace {

std::mutex account_mutex;

AccountSession& Record() {
  static AccountSession account;
  return account;
}

}  // namespace

AccountSession CurrentAccount() {
  std::lock_guard lock(account_mutex);
  return Record();
}

void SetAccount(const AccountSession& account) {
  std::lock_guard lock(account_mutex);
  Record() = account;
}

}  // namespace prunko
