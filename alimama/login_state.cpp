#include "alimama/login_state.h"

#include "alimama/alimama_session.h"
#include "alimama/replies.h"
#include "core/format.h"
#include "core/log_file.h"
#include "core/log_sink.h"
#include "net/cookie_store.h"
#include "net/endpoints.h"

namespace prunko {

int GetLogInfo(qint64& member_id, QString& nick) {
  const AlimamaSession session = CurrentAlimamaSession();
  HttpResponse r;
  const QString url =
      QStringLiteral("http://") + CurrentEndpoints().alimama_home_host + QStringLiteral("/getLogInfo.htm?callback=__jp0");
  if (!HttpClient().Get(url, AlimamaHomeReferer(), session.cookie, r)) return kAlimamaNetworkError;
  return ReadLogInfoReply(r, member_id, nick);
}

int GetUnionPubContextInfo(qint64& member_id, QString& nick) {
  const AlimamaSession session = CurrentAlimamaSession();
  HttpResponse r;
  const QString url = QStringLiteral("http://") + CurrentEndpoints().alimama_pub_host +
                      QStringLiteral("/common/getUnionPubContextInfo.json");
  if (!HttpClient().Get(url, AlimamaHomeReferer(), session.cookie, r)) return kAlimamaNetworkError;
  return ReadPubContextReply(r, member_id, nick);
}

bool CaptureSession(QString& status_text) {
  const Endpoints e = CurrentEndpoints();
  QString taobao_cookie;
  if (GetCookies(QStringLiteral("http://") + e.taobao_root_domain + u'/', taobao_cookie) && !taobao_cookie.isEmpty()) {
    SetAlimamaTaobaoCookie(taobao_cookie);
  }
  QString cookie;
  QString token;
  const bool found = GetCookies(QStringLiteral("http://") + e.alimama_root_domain + u'/', cookie) &&
                     GetCookieValue(cookie, u"_tb_token_", token) && !token.isEmpty();
  if (found) {
    SetAlimamaCookie(cookie, token);
    return true;
  }
  SetAlimamaLoggedIn(false);
  status_text = QStringLiteral("状态：无法取到cookie无效，无法取到cookie或token");
  LogPrint(u"cookie:%s\n", cookie);
  return false;
}

bool ConfirmLoginState(QString& status_text) {
  WriteOutput(u"检测阿里妈妈登录状态");
  AlimamaSession s = CurrentAlimamaSession();
  qint64 member_id = s.memberId;
  QString nick = s.nick;
  const int a = GetLogInfo(member_id, nick);
  const int b = GetUnionPubContextInfo(member_id, nick);
  SetAlimamaMember(member_id, nick);
  if (a == kAlimamaNotLoggedIn || b == kAlimamaNotLoggedIn) {
    SetAlimamaLoggedIn(false);
    status_text = QStringLiteral("状态：登录无效，用户信息获取失败");
    LogPrint(u"【阿里妈妈登录状态失效：%d】", a);
    return false;
  }
  if (a != kAlimamaOk && b != kAlimamaOk) {
    const QString text = FormatString(u"阿里妈妈登录状态等待再次确认，返回码：%d", a);
    WriteOutput(text);
    status_text = QStringLiteral("状态：") + text;
    return true;
  }
  SetAlimamaLoggedIn(true);
  WriteOutput(u"阿里妈妈登录状态正常");
  status_text = QStringLiteral("状态：阿里妈妈登录成功");
  return true;
}

}  // namespace prunko
