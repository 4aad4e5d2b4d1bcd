#include "cloud/taobao_auth.h"

#include "cloud/account_session.h"
#include "core/format.h"
#include "core/guarded_record.h"
#include "core/json_reply.h"
#include "net/endpoints.h"

namespace prunko {
namespace {

GuardedRecord<TaobaoAuth>& Record() {
  static GuardedRecord<TaobaoAuth> auth;
  return auth;
}

CloudResult QuerySession(const QString& body) {
  HttpResponse response;
  if (!CloudPost(FormatString(u"%s/tb-session/query", CurrentEndpoints().auth_host), body, response)) {
    return {CloudResult::kUnreachable, QString::fromUtf16(kCloudUnreachableText)};
  }
  rapidjson::Document reply;
  const std::optional<int> status = ParseAnsiJson(response.body_text, reply) ? json::Int(reply, "status") : std::nullopt;
  if (!status) return {CloudResult::kBadReply, QString::fromUtf16(kCloudBadReplyText)};
  const std::optional<QString> session_key = json::String(reply, "session_key");
  if (*status != 200 || !session_key) {
    return {CloudResult::kRefused, QStringLiteral("获取授权失败，") + json::String(reply, "msg").value_or(QString())};
  }
  Record().Update([&](TaobaoAuth& auth) {
    auth.session_key = *session_key;
    auth.taobao_user_id = json::String(reply, "taobao_user_id").value_or(QString());
    auth.taobao_user_nick = json::String(reply, "taobao_user_nick").value_or(QString());
  });
  return {CloudResult::kOk, QStringLiteral("获取授权成功")};
}

}  // namespace

TaobaoAuth CurrentTaobaoAuth() { return Record().Get(); }

void SetTaobaoAuth(const TaobaoAuth& auth) { Record().Set(auth); }

void SetTaobaoAuthState(int state) {
  Record().Update([state](TaobaoAuth& auth) { auth.auth_state = state; });
}

CloudResult QuerySessionByUser() {
  const qint64 user_id = CurrentAccount().user_id;
  const QString sign = CloudSign(FormatString(u"zept:%lld", user_id));
  return QuerySession(FormatString(u"appkey=%s&user_id=%lld&sign=%s", kCloudAppKey, user_id, sign));
}

CloudResult QuerySessionByMobile(const QString& mobile) {
  const QString sign = CloudSign(FormatString(u"zept:%s", mobile));
  return QuerySession(FormatString(u"appkey=%s&mobile=%s&sign=%s", kCloudAppKey, mobile, sign));
}

}  // namespace prunko
