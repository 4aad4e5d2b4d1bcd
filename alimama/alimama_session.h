#pragma once

#include <QString>

#include "net/http_client.h"

namespace prunko {

// Every Alimama operation returns one of these; the send pipeline reacts to
// each number.
enum AlimamaResult {
  kAlimamaOk = 0,
  kAlimamaNetworkError = 1,
  kAlimamaBadReply = 2,
  kAlimamaUnrecognised = 3,
  kAlimamaNoResult = 4,
  kAlimamaNotLoggedIn = 5,
  kAlimamaTokenExpired = 6,
  kAlimamaBusy = 7,
  kAlimamaDenied = 8,
  kAlimamaNotVerified = 9,
  kAlimamaRejected = 10,
};

// The user's Alimama web session, copied from the embedded browser.
struct AlimamaSession {
  QString cookie;        // sent verbatim to the publisher, home, media and ad hosts
  QString tbToken;       // "_tb_token_" of that cookie
  QString taobaoCookie;  // for the Taobao H5 gateway
  qint64 memberId = 0;
  QString nick;
  bool loggedIn = false;
  int requestIntervalMs = 3000;

  bool operator==(const AlimamaSession&) const = default;
};

inline constexpr char16_t kApplyReason[] = u"【Velmorind】申请贵店计划，望通过！";

// The process's session: readers get one consistent copy; the cookie and its
// token are only ever written together.
AlimamaSession CurrentAlimamaSession();
void SetAlimamaSession(const AlimamaSession& session);
void SetAlimamaCookie(const QString& cookie, const QString& tb_token);
void SetAlimamaTaobaoCookie(const QString& cookie);
void SetAlimamaLoggedIn(bool logged_in);
void SetAlimamaMember(qint64 member_id, const QString& nick);

// "http://" + the Alimama home host + "/index.htm".
QString AlimamaHomeReferer();

// What an unusable reply says: the deny or limit-status redirect, the busy
// page, a 4xx status, the login page, or nothing known.
int ClassifyReply(const HttpResponse& response);

// How long a busy site is given before the next attempt.
inline constexpr qint64 kBusyRetryWaitMs = 15000;

// Sleeps (tick count mod 3000) + the request interval.
void PacingPause();
// The interval in seconds, kept between 3 and 30.
void SetRequestInterval(int seconds);

}  // namespace prunko
