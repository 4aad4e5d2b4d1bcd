#include "cloud/short_link.h"

#include "cloud/account_session.h"
#include "cloud/cloud_common.h"
#include "core/format.h"
#include "core/json_reply.h"
#include "core/url_util.h"
#include "net/endpoints.h"

namespace prunko {

int MakeShortLink(const QString& url, const QString& title, const QString& pic_url, float price, float coupon,
                  QString& link) {
  const QString body =
      FormatString(u"appkey=%s&token=%s&url=%s&title=%s&pic=%s&price=%.1f&coupon=%.1f", kCloudAppKey,
                   CurrentAccount().auth_token, UrlEncode(url), UrlEncode(title), UrlEncode(pic_url), price, coupon);
  HttpResponse response;
  if (!CloudPost(CurrentEndpoints().short_link_endpoint + QStringLiteral("/ajax/short"), body, response)) {
    return kShortLinkUnreachable;
  }
  rapidjson::Document reply;
  if (!ParseAnsiJson(response.body_text, reply)) return kShortLinkBadReply;
  const std::optional<QString> status = json::String(reply, "status");
  const std::optional<QString> answer = json::String(reply, "link");
  if (!status || !answer) return kShortLinkBadReply;
  link = *status == u"success" ? *answer : QString();
  return kShortLinkAnswered;
}

}  // namespace prunko
