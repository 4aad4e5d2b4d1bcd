#include "alimama/item_search.h"

#include "alimama/alimama_session.h"
#include "alimama/replies.h"
#include "core/clock.h"
#include "core/format.h"
#include "core/log_sink.h"
#include "core/text_convert.h"
#include "net/endpoints.h"

namespace prunko {
namespace {

constexpr int kAttempts = 3;

}  // namespace

int SearchItem(qint64 item_id, GoodsItem& item, QList<CommissionCampaign>& campaigns) {
  const Endpoints e = CurrentEndpoints();
  if (item.coupon_url.isEmpty() && item.seller_id != 0 && !item.activity_id.isEmpty()) {
    item.coupon_url = FormatString(u"https://%s/shop/coupon.htm?sellerId=%lld&activityId=%s", e.mobile_shop_host,
                                   item.seller_id, item.activity_id);
  }
  const QString url = FormatString(u"http://%s/items/search.json?q=https%%3A%%2F%%2F%s%%2Fitem.htm%%3Fid%%3D%lld",
                                   e.alimama_pub_host, e.tmall_item_host, item_id);
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    HttpResponse r;
    if (!HttpClient().Get(url, QString(), CurrentAlimamaSession().cookie, r)) {
      LogPrint(u"网络错误，WTK_NET_ERROR，描述:%s", AnsiToWide(r.error_text));
      return kAlimamaNetworkError;
    }
    PacingPause();
    const int result = ReadSearchReply(r, item, campaigns);
    if (result != kAlimamaBusy || attempt >= kAttempts - 1) return result;
    LogPrint(u"阿里妈妈网络繁忙(%d)，15秒钟后再尝试访问", attempt);
    CurrentClock().Sleep(kBusyRetryWaitMs);
  }
  return kAlimamaBusy;
}

}  // namespace prunko
