#include "alimama/coupon_lookup.h"

#include "alimama/alimama_session.h"
#include "core/format.h"
#include "core/json_reply.h"
#include "net/endpoints.h"

namespace prunko {
namespace {

// "Coupons left" as the landing page tells it: it has no count.
constexpr int kSomeLeft = 1000;

// The landing request; the reply in `response`.
bool RequestLanding(const QString& query, HttpResponse& response) {
  const QString host = CurrentEndpoints().coupon_landing_host;
  const QString address = QStringLiteral("http://") + host + QStringLiteral("/cp/coupon?") + query;
  QString referer = address;
  referer.replace(host + QStringLiteral("/cp/coupon"), host + QStringLiteral("/coupon/edetail"));
  return HttpClient().Get(address, referer, CurrentAlimamaSession().cookie, response);
}

QString ByMe(const QString& me_code) { return QStringLiteral("me=") + me_code; }

QString ByActivity(qint64 item_id, const QString& activity_id) {
  return FormatString(u"activityId=%s&itemId=%lld", activity_id, item_id);
}

void ReadCouponAmounts(const rapidjson::Value& result, float& fee, float& start_fee, QString& expire) {
  fee = json::Float(result, "amount").value_or(0);
  start_fee = json::Float(result, "startFee").value_or(0);
  expire = json::String(result, "effectiveEndTime").value_or(QString());
}

int FullLookup(const QString& query, GoodsItem& g) {
  HttpResponse r;
  if (!RequestLanding(query, r)) return kAlimamaNetworkError;
  PacingPause();
  rapidjson::Document doc;
  const rapidjson::Value* result = ParseAnsiJson(r.body_text, doc) && doc.IsObject() && doc.HasMember("result")
                                       ? &doc["result"]
                                       : nullptr;
  if (!result || !result->IsObject() || !result->HasMember("item")) return ClassifyReply(r);
  const rapidjson::Value& item = (*result)["item"];
  if (!item.IsObject() || (!item.HasMember("picUrl") && !item.HasMember("title"))) return kAlimamaBadReply;

  if (auto v = json::Int64(item, "itemId")) g.item_id = *v;
  if (auto v = json::String(item, "title")) g.title = *v;
  if (auto v = json::String(item, "picUrl")) g.pic_url = *v;
  if (auto v = json::Float(item, "discountPrice")) g.price_original = *v;
  if (auto v = json::Int(item, "biz30Day")) g.sales = *v;
  if (auto v = json::String(item, "postFree")) g.post_free = v->toInt();
  if (auto v = json::String(item, "tmall")) g.is_tmall = v->toInt() == 1 ? GoodsItem::kTmall : GoodsItem::kTaobao;
  if (auto v = json::String(*result, "shopName")) g.shop_name = *v;

  if (json::Int(*result, "retStatus").value_or(0) != 0) {
    g.coupon_surplus = 0;
  } else if (g.coupon_surplus == 0) {
    g.coupon_surplus = kSomeLeft;
  }
  if (g.coupon_total == 0) g.coupon_total = kSomeLeft;
  ReadCouponAmounts(*result, g.coupon_fee, g.coupon_start_fee, g.coupon_expire);
  return kAlimamaOk;
}

int CouponCheck(const QString& query, CouponFields c) {
  HttpResponse r;
  if (!RequestLanding(query, r)) return kAlimamaNetworkError;
  rapidjson::Document doc;
  const rapidjson::Value* result = ParseAnsiJson(r.body_text, doc) ? json::Object(doc, "result") : nullptr;
  const std::optional<int> status = result ? json::Int(*result, "retStatus") : std::nullopt;
  if (!status) return ClassifyReply(r);
  if (*status != 0) {
    c.surplus = 0;
    return kAlimamaOk;
  }
  c.surplus = kSomeLeft;
  c.total = kSomeLeft;
  ReadCouponAmounts(*result, c.fee, c.start_fee, c.expire);
  return kAlimamaOk;
}

}  // namespace

int LookupCouponByMe(GoodsItem& item, const QString& me_code) { return FullLookup(ByMe(me_code), item); }

int LookupCouponByActivity(qint64 item_id, GoodsItem& item, const QString& activity_id) {
  return FullLookup(ByActivity(item_id, activity_id), item);
}

int CheckCouponByMe(const QString& me_code, CouponFields coupon) { return CouponCheck(ByMe(me_code), coupon); }

int CheckCouponByActivity(qint64 item_id, const QString& activity_id, CouponFields coupon) {
  return CouponCheck(ByActivity(item_id, activity_id), coupon);
}

}  // namespace prunko
