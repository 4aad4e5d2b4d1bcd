#pragma once

#include <QString>

#include "cloud/cloud_common.h"

namespace prunko {

// The Taobao session the user authorised the cloud service to act with.
struct TaobaoAuth {
  enum State { kInvalid = -1, kNotAuthorised = 0, kAuthorised = 1 };
  QString session_key;
  QString taobao_user_id;
  QString taobao_user_nick;
  int auth_state = kNotAuthorised;

  bool operator==(const TaobaoAuth&) const = default;
};

// Written by the authorisation window's worker and by GetPrivilege, read by
// the senders: readers always get one whole session, old or new.
TaobaoAuth CurrentTaobaoAuth();
void SetTaobaoAuth(const TaobaoAuth& auth);
void SetTaobaoAuthState(int state);

// Asks the cloud service for the session authorised by this user, or shared
// by the account of `mobile`. On success the session fields are replaced
// (the caller decides on auth_state).
CloudResult QuerySessionByUser();
CloudResult QuerySessionByMobile(const QString& mobile);

}  // namespace prunko
