#include "cloud/account_login.h"

#include "cloud/account_session.h"
#include "cloud/cloud_common.h"
#include "core/app_config.h"
#include "core/config_file.h"
#include "core/format.h"
#include "core/json_reply.h"
#include "core/text_convert.h"
#include "core/url_util.h"
#include "core/version.h"
#include "net/endpoints.h"

namespace prunko {
namespace {

LoginOutcome Fail(const QString& tip) { return {false, tip, false, {}, {}}; }

void RememberCredentials(const QString& mobile, const QString& password, bool remember) {
  AppConfig saved;
  UpdateConfig([&](AppConfig& c) {
    if (remember) {
      c.username = mobile;
      c.password = password;
    } else {
      c.password.clear();
    }
    saved = c;
  });
  SaveAccount(saved);
}

}  // namespace

QString SummarySiteUrl(qint64 user_id, const QString& site_suffix) {
  const auto low = static_cast<quint32>(user_id & 0xFFFFFFFF);
  return FormatString(u"http://%s%s", QString::number(low, 36), site_suffix);
}

LoginOutcome CloudLogin(const QString& mobile, const QString& password, bool remember) {
  const Endpoints endpoints = CurrentEndpoints();
  const QString url = FormatString(u"%s/auth/login?v=%s&f=prunko", endpoints.cloud_api_base, kProgramVersion);
  const QString body = FormatString(u"appkey=%s&mobile=%s&pwd=%s", kCloudAppKey, mobile, UrlEncode(password));
  HttpResponse response;
  if (!CloudPost(url, body, response)) {
    const QString tip = QString::fromUtf16(u"网络错误，无法连接Velmorind服务器，请稍候再试！");
    return {false, tip, true, QString::fromUtf16(u"连接Velmorind服务器失败"),
            tip + QStringLiteral("\r\n\r\n错误码：") + AnsiToWide(response.error_text) +
                QStringLiteral("\r\n\r\n解决方法：尝试重启路由器和猫")};
  }
  rapidjson::Document reply;
  const std::optional<int> status = ParseAnsiJson(response.body_text, reply) ? json::Int(reply, "status") : std::nullopt;
  if (!status) return Fail(QString::fromUtf16(u"网络错误，登录返回Json数据异常，请稍候再试！"));

  switch (*status) {
    case 200: {
      const std::optional<QString> token = json::String(reply, "auth_token");
      if (!token) return Fail(QString::fromUtf16(u"登录失败，没有接受到Velmorind服务器的认证令牌"));
      AccountSession account;
      account.user_id = json::Int64(reply, "user_id").value_or(0);
      account.nickname = json::String(reply, "nickname").value_or(QString());
      account.mobile = mobile;
      account.auth_token = *token;
      account.privilege_mode = json::Int(reply, "privilege_mode").value_or(1);
      account.summary_site_url = SummarySiteUrl(account.user_id, endpoints.summary_site_suffix);
      SetAccount(account);
      RememberCredentials(mobile, password, remember);
      return {true, QString::fromUtf16(u"登录成功！"), false, {}, {}};
    }
    case 400:
      return Fail(QString::fromUtf16(u"登录失败，软件APPKEY未经授权！"));
    case 401:
      return Fail(QString::fromUtf16(u"输入的Velmorind账号或者密码错误！忘了请去官网找回吧！"));
    default:
      if (const std::optional<QString> msg = json::String(reply, "msg")) {
        return Fail(FormatString(u"登录失败，%s", *msg));
      }
      return Fail(FormatString(u"登录失败，未知错误码：%d", *status));
  }
}

}  // namespace prunko
