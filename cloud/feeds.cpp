#include "cloud/feeds.h"

#include <cstdlib>

#include "cloud/account_session.h"
#include "cloud/cloud_common.h"
#include "core/format.h"
#include "core/json_reply.h"
#include "core/text_convert.h"
#include "core/version.h"
#include "net/endpoints.h"

namespace prunko {

const FeedSource kFeedSources[3] = {
    {u"Velmorind实时领券榜首", u"%s/goods/hot-coupon", u"/hot-coupon"},
    {u"Velmorind今日人气榜首", u"%s/goods/hot-clicks", u"/hot-clicks"},
    {u"Velmorind今日上新商品", u"%s/goods/new", nullptr},
};

namespace {

// The groups list and the relay escape every non-ASCII character as \u.
bool ParseEscapedReply(const HttpResponse& response, rapidjson::Document& reply) {
  return ParseAnsiJson(WideToAnsi(UnescapeUnicode(response.body_text)), reply);
}

long long LeadingInteger(const QString& text) { return std::strtoll(text.toUtf8().constData(), nullptr, 10); }

}  // namespace

bool FetchFeed(const FeedSource& feed, int tmall_only, int min_sales, int min_price, HttpResponse& response) {
  QString body = FormatString(u"appkey=kwestal&v=%s&token=%s", kProgramVersion, CurrentAccount().auth_token);
  body += FormatString(u"&tmall=%d&sales=%ld&min_price=%ld", tmall_only, min_sales, min_price);
  return CloudPost(FormatString(feed.request_path, CurrentEndpoints().cloud_api_base), body, response);
}

int FetchGroups(QList<CollectionGroup>& groups) {
  groups.clear();
  HttpResponse response;
  if (!HttpClient().Get(CurrentEndpoints().cloud_api_base + QStringLiteral("/groups/list/e"), {}, {}, response)) {
    return kGroupsUnreachable;
  }
  rapidjson::Document reply;
  if (!ParseEscapedReply(response, reply) || !reply.IsArray()) return kGroupsBadReply;
  for (const rapidjson::Value& element : reply.GetArray()) {
    const auto uin = json::String(element, "uin");
    const auto name = json::String(element, "name");
    const auto maxid = json::String(element, "maxid");
    if (!uin || !name || !maxid) continue;
    // A uin may exceed 32 bits; the relay takes it as a 64-bit number.
    const long long newest = LeadingInteger(*maxid);
    groups.append({LeadingInteger(*uin), *name, static_cast<int>(qMax(0LL, newest - 10))});
  }
  return kGroupsListed;
}

int FetchGroupMessages(CollectionGroup& group, QStringList& messages, QString& error_text) {
  messages.clear();
  const QString body = FormatString(u"uin={\"data\":[{\"groupuin\":\"%lld\",\"maxid\":\"%d\"}]}", group.uin, group.maxid);
  HttpResponse response;
  if (!CloudPost(CurrentEndpoints().group_relay, body, response)) {
    error_text = AnsiToWide(response.error_text);
    return kGroupMessagesUnreachable;
  }
  rapidjson::Document reply;
  const rapidjson::Value* pages = ParseEscapedReply(response, reply) ? json::Array(reply, "pagelist") : nullptr;
  const std::optional<int> code = json::Int(reply, "code");
  if (!code || !pages || pages->Empty()) return kGroupMessagesBadReply;
  if (*code != kGroupMessagesNew) return *code;
  const rapidjson::Value& page = (*pages)[0];
  if (const auto maxid = json::String(page, "maxid")) group.maxid = static_cast<int>(LeadingInteger(*maxid));
  if (const rapidjson::Value* data = json::Array(page, "data")) {
    for (const rapidjson::Value& message : data->GetArray()) {
      if (const auto text = json::String(message, "msg")) messages.append(*text);
    }
  }
  return kGroupMessagesNew;
}

}  // namespace prunko
