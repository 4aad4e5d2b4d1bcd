#include "alimama/alimama_session.h"

#include "core/clock.h"
#include "core/guarded_record.h"
#include "core/log_sink.h"
#include "core/text_convert.h"
#include "net/endpoints.h"

namespace prunko {
namespace {

GuardedRecord<AlimamaSession>& Record() {
  static GuardedRecord<AlimamaSession> session;
  return session;
}

}  // namespace

AlimamaSession CurrentAlimamaSession() { return Record().Get(); }

void SetAlimamaSession(const AlimamaSession& session) { Record().Set(session); }

void SetAlimamaCookie(const QString& cookie, const QString& tb_token) {
  Record().Update([&](AlimamaSession& s) {
    s.cookie = cookie;
    s.tbToken = tb_token;
  });
}

void SetAlimamaTaobaoCookie(const QString& cookie) {
  Record().Update([&](AlimamaSession& s) { s.taobaoCookie = cookie; });
}

void SetAlimamaLoggedIn(bool logged_in) {
  Record().Update([&](AlimamaSession& s) { s.loggedIn = logged_in; });
}

void SetAlimamaMember(qint64 member_id, const QString& nick) {
  Record().Update([&](AlimamaSession& s) {
    s.memberId = member_id;
    s.nick = nick;
  });
}

QString AlimamaHomeReferer() {
  return QStringLiteral("http://") + CurrentEndpoints().alimama_home_host + QStringLiteral("/index.htm");
}

int ClassifyReply(const HttpResponse& response) {
  const Endpoints e = CurrentEndpoints();
  if (!response.final_location.isEmpty()) LogPrint(u"location:%s", AnsiToWide(response.final_location));
  const QString location = AnsiToWide(response.final_location);
  if (location.contains(e.alimama_security_host + QStringLiteral("/deny.html"))) return kAlimamaDenied;
  if (location.contains(e.alimama_media_host + QStringLiteral("/user/limit_status.htm"))) return kAlimamaNotVerified;
  if (response.body_text.contains(WideToAnsi(u"我们就算忙到挂水也要让你进去"))) return kAlimamaBusy;
  if (response.status_code >= 400 && response.status_code <= 499) return kAlimamaBadReply;
  if (response.body_text.contains("taobaoLoginIfr")) return kAlimamaNotLoggedIn;
  return kAlimamaUnrecognised;
}

void PacingPause() {
  Clock& clock = CurrentClock();
  clock.Sleep(clock.TickCount() % 3000 + CurrentAlimamaSession().requestIntervalMs);
}

void SetRequestInterval(int seconds) {
  const int ms = seconds < 3 ? 3000 : seconds > 30 ? 30000 : seconds * 1000;
  Record().Update([ms](AlimamaSession& s) { s.requestIntervalMs = ms; });
}

}  // namespace prunko
