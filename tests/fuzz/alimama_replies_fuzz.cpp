// Every reader of the Alimama site, the coupon landing, the H5 gateway and
// the microblog API, fed whatever a server might send back.

#include <QByteArray>

#include <cstddef>
#include <cstdint>

#include "alimama/replies.h"
#include "core/fake_clock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace prunko;
  static FakeClock clock;  // the log's pauses take no time
  static ScopedClock use(clock);
  if (size < 2) return 0;
  HttpResponse r;
  // The first two bytes pick the status and whether a redirect was seen.
  r.status_code = 200 + data[0] % 4 * 100;
  if (data[1] & 1) r.final_location = "http://sec.taobao.com/deny.html";
  if (data[1] & 2) r.final_location = "http://media.alimama.com/user/limit_status.htm";
  r.body_text = QByteArray(reinterpret_cast<const char*>(data + 2), static_cast<qsizetype>(size - 2));
  r.body_raw = r.body_text;

  qint64 member = 0;
  QString text, more;
  GoodsItem item;
  QList<CommissionCampaign> campaigns{{CommissionCampaign::kDirected, 123, 0, {}, 1.5f, false, 0}};
  CommissionCampaign joined;
  ReadLogInfoReply(r, member, text);
  ReadPubContextReply(r, member, text);
  ReadLandingReply(r, item);
  ReadCouponCheckReply(r, CouponFieldsOf(item));
  ReadSearchReply(r, item, campaigns);
  ReadShopCampaignsReply(r, campaigns);
  ReadJoinedCampaignReply(r, joined);
  ReadApplyReply(r);
  ReadExitReply(r);
  ReadAffiliateLinkReply(r, text, more);
  ReadTaoTokenReply(r, text);
  ReadPasswordUrlReply(r, text);
  ReadItemInfoReply(r, item, campaigns);
  ReadShortUrlReply(r, text);
  return 0;
}
