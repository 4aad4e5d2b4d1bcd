#pragma once

#include <QString>

namespace prunko {

// Who is logged in to the cloud service; filled by a successful login.
struct AccountSession {
  qint64 user_id = 0;
  QString nickname;
  QString mobile;
  QString auth_token;
  int privilege_mode = 1;  // which commission source the sending uses
  QString summary_site_url;

  bool operator==(const AccountSession&) const = default;
};

// The process's session; readers get a consistent copy.
AccountSession CurrentAccount();
void SetAccount(const AccountSession& account);

}  // namespace prunko
