#include "alimama/coupon_lookup.h"

#include "alimama/alimama_session.h"
#include "alimama/replies.h"
#include "core/format.h"
#include "net/endpoints.h"

namespace prunko {
namespace {

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

int FullLookup(const QString& query, GoodsItem& item) {
  HttpResponse r;
  if (!RequestLanding(query, r)) return kAlimamaNetworkError;
  PacingPause();
  return ReadLandingReply(r, item);
}

int CouponCheck(const QString& query, CouponFields coupon) {
  HttpResponse r;
  if (!RequestLanding(query, r)) return kAlimamaNetworkError;
  return ReadCouponCheckReply(r, coupon);
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
