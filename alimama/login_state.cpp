#include "alimama/login_state.h"

#include <QRegularExpression>

#include "alimama/alimama_session.h"
#include "core/format.h"
#include "core/json_reply.h"
#include "core/log_file.h"
#include "core/log_sink.h"
#include "core/string_util.h"
#include "core/text_convert.h"
#include "net/cookie_store.h"
#include "net/endpoints.h"

namespace prunko {

int GetLogInfo(qint64& member_id, QString& nick) {
  const AlimamaSession session = CurrentAlimamaSession();
  HttpResponse r;
  const QString url =
      QStringLiteral("http://") + CurrentEndpoints().alimama_home_host + QStringLiteral("/getLogInfo.htm?callback=__jp0");
  if (!HttpClient().Get(url, AlimamaHomeReferer(), session.cookie, r)) return kAlimamaNetworkError;
  if (r.body_text.contains("\"success\":false")) return kAlimamaNotLoggedIn;
  if (!r.body_text.contains("\"memberID\":")) return kAlimamaBadReply;
  static const QRegularExpression pattern(QStringLiteral(R"re("memberID":(\d+),"nickName":"([^"]+)")re"));
  const QRegularExpressionMatch m = pattern.match(AnsiToWide(r.body_text));
  if (m.hasMatch()) {
    member_id = m.captured(1).toLongLong();
    QString escaped = m.captured(2);
    ReplaceAll(escaped, u"\\\\", u"\\");
    nick = UnescapeUnicode(WideToAnsi(escaped));
  }
  return kAlimamaOk;
}

int GetUnionPubContextInfo(qint64& member_id, QString& nick) {
  const AlimamaSession session = CurrentAlimamaSession();
  HttpResponse r;
  const QString url = QStringLiteral("http://") + CurrentEndpoints().alimama_pub_host +
                      QStringLiteral("/common/getUnionPubContextInfo.json");
  if (!HttpClient().Get(url, AlimamaHomeReferer(), session.cookie, r)) return kAlimamaNetworkError;
  if (r.body_text.contains("\"noLogin\":true")) return kAlimamaNotLoggedIn;
  rapidjson::Document reply;
  const rapidjson::Value* data =
      ParseAnsiJson(r.body_text, reply) && reply.IsObject() ? json::Object(reply, "data") : nullptr;
  if (!data) return ClassifyReply(r);
  if (!data->HasMember("memberid") || !data->HasMember("mmNick")) return kAlimamaBadReply;
  member_id = json::Int64(*data, "memberid").value_or(0);
  nick = json::String(*data, "mmNick").value_or(QString());
  return kAlimamaOk;
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
