#include "cloud/commission_api.h"

#include <cstdlib>

#include "cloud/account_session.h"
#include "cloud/taobao_auth.h"
#include "core/date_util.h"
#include "core/format.h"
#include "core/json_reply.h"
#include "core/url_util.h"
#include "net/endpoints.h"

namespace prunko {
namespace {

// Posts `path` to the main base, and to the backup only when the main one
// could not be reached.
bool PostWithBackup(const char16_t* path, const QString& body, HttpResponse& response) {
  const Endpoints endpoints = CurrentEndpoints();
  if (CloudPost(endpoints.commission_api_base + QString::fromUtf16(path), body, response)) return true;
  response = HttpResponse();
  return CloudPost(endpoints.commission_api_backup + QString::fromUtf16(path), body, response);
}

CloudResult Unreachable() { return {CloudResult::kUnreachable, QString::fromUtf16(kCloudUnreachableText)}; }

// The reply's "status" when it is an object with an integer one.
std::optional<int> ReplyStatus(const HttpResponse& response, rapidjson::Document& reply) {
  if (!ParseAnsiJson(response.body_text, reply) || !reply.IsObject()) return std::nullopt;
  return json::Int(reply, "status");
}

// The string member of a status-200 reply; empty otherwise.
QString ValueOfSuccess(const char16_t* path, const QString& body, const char* key) {
  HttpResponse response;
  if (!PostWithBackup(path, body, response)) return {};
  rapidjson::Document reply;
  if (ReplyStatus(response, reply) != 200) return {};
  return json::String(reply, key).value_or(QString());
}

}  // namespace

CloudResult GetItemInfo(qint64 item_id, GoodsItem& item) {
  const QString sign = CloudSign(FormatString(u"zept:%lld", item_id));
  const QString body = FormatString(u"appkey=%s&token=%s&sign=%s&item_id=%lld", kCloudAppKey,
                                    CurrentAccount().auth_token, sign, item_id);
  HttpResponse response;
  if (!PostWithBackup(u"/get-item-info", body, response)) return Unreachable();
  rapidjson::Document reply;
  const std::optional<int> status = ReplyStatus(response, reply);
  const rapidjson::Value* info = status ? json::Object(reply, "item_info") : nullptr;
  if (!info) {
    return {CloudResult::kRefused, QStringLiteral("获取商品信息失败，") + json::String(reply, "msg").value_or(QString())};
  }
  if (*status != 200) return {CloudResult::kRefused, QStringLiteral("获取商品信息失败,status error")};
  if (auto v = json::String(*info, "item_url")) item.item_url = *v;
  if (auto v = json::String(*info, "title")) item.title = *v;
  if (auto v = json::String(*info, "pict_url")) item.pic_url = *v;
  if (auto v = json::Int(*info, "user_type")) item.is_tmall = *v ? GoodsItem::kTmall : GoodsItem::kTaobao;
  if (auto v = json::String(*info, "zk_final_price")) item.price_original = static_cast<float>(std::atof(v->toUtf8()));
  return {CloudResult::kOk, QStringLiteral("申请高佣成功")};
}

CloudResult GetPrivilege(qint64 item_id, const QString& pid, QString& coupon_click_url, float& max_commission_rate) {
  const QString session_key = CurrentTaobaoAuth().session_key;
  const QString sign = CloudSign(FormatString(u"zept:%lld&%s&%s", item_id, session_key, pid));
  const QString body = FormatString(u"appkey=%s&token=%s&sign=%s&itemid=%lld&session_key=%s&pid=%s", kCloudAppKey,
                                    CurrentAccount().auth_token, sign, item_id, session_key, pid);
  HttpResponse response;
  if (!PostWithBackup(u"/get-privilege", body, response)) return Unreachable();
  rapidjson::Document reply;
  const std::optional<int> status = ReplyStatus(response, reply);
  if (!status) return {CloudResult::kBadReply, QString::fromUtf16(kCloudBadReplyText)};
  const rapidjson::Value* data = json::Object(reply, "data");
  if (*status == 200 && data) {
    coupon_click_url = json::String(*data, "coupon_click_url").value_or(QString());
    const std::optional<QString> rate = json::String(*data, "max_commission_rate");
    max_commission_rate = rate ? static_cast<float>(std::atof(rate->toUtf8())) : 0.0f;
    return {CloudResult::kOk, QStringLiteral("申请高佣成功")};
  }
  const QString message = json::String(reply, "msg").value_or(QString());
  if (message.contains(u"invalid-sessionkey") || message.contains(u"session-is-blank")) {
    SetTaobaoAuthState(TaobaoAuth::kInvalid);
  }
  return {CloudResult::kRefused, QStringLiteral("申请高佣失败，") + message};
}

QString GetComboShortUrl(const QString& long_url) {
  const QString sign = CloudSign(FormatString(u"zept:%s", long_url));
  const QString body = FormatString(u"appkey=%s&token=%s&sign=%s&url=%s", kCloudAppKey, CurrentAccount().auth_token,
                                    sign, UrlEncode(long_url));
  return ValueOfSuccess(u"/get-tb-combo-short-url", body, "short_url");
}

QString GetTkl(const QString& url, const QString& text, const QString& pic_url) {
  const QString sign = CloudSign(FormatString(u"zept:%s", url));
  const QString body = FormatString(u"appkey=%s&token=%s&sign=%s&url=%s&text=%s&pic_url=%s", kCloudAppKey,
                                    CurrentAccount().auth_token, sign, UrlEncode(url), UrlEncode(text),
                                    UrlEncode(pic_url));
  return ValueOfSuccess(u"/get-tkl", body, "tkl");
}

void ReportPromotion(const PromotionReport& r) {
  const AccountSession account = CurrentAccount();
  QString body = FormatString(u"appkey=%s&token=%s&user_id=%lld&mobile=%s", kCloudAppKey, account.auth_token,
                              account.user_id, account.mobile);
  body += FormatString(
      u"&pid=%s&account=%s&time=%s&mediumType=%s&mediumName=%s&mediumId=%lld&memberNum=%d&itemId=%lld&originUrl=%s"
      u"&couponUrl=%s&tbkUrl=%s&itemTitle=%s&itemDescription=%s&tbCommand=%s",
      UrlEncode(r.pid), UrlEncode(account.nickname), UrlEncode(DateTimeString()), UrlEncode(r.medium_type),
      UrlEncode(r.medium_name), r.medium_id, r.member_num, r.item_id, UrlEncode(r.origin_url), UrlEncode(r.coupon_url),
      UrlEncode(r.tbk_url), UrlEncode(r.item_title), UrlEncode(r.item_description), UrlEncode(r.tb_command));
  HttpResponse response;
  CloudPost(CurrentEndpoints().commission_api_base + QStringLiteral("/tbk-data-report"), body, response);
}

}  // namespace prunko
