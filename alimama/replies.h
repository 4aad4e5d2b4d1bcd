#pragma once

#include <QList>
#include <QString>

#include "alimama/coupon_lookup.h"
#include "goods/goods_item.h"
#include "net/http_client.h"

namespace prunko {

// What each Alimama operation makes of the reply it got: the reading half
// of the operations, apart from their requests, so that every reader can be
// fed anything a server might send (tests/fuzz). Each returns an
// AlimamaResult and writes only what the reply holds.

int ReadLogInfoReply(const HttpResponse& r, qint64& member_id, QString& nick);
int ReadPubContextReply(const HttpResponse& r, qint64& member_id, QString& nick);

int ReadLandingReply(const HttpResponse& r, GoodsItem& item);
int ReadCouponCheckReply(const HttpResponse& r, CouponFields coupon);
// Busy when the search should be tried again.
int ReadSearchReply(const HttpResponse& r, GoodsItem& item, QList<CommissionCampaign>& campaigns);

int ReadShopCampaignsReply(const HttpResponse& r, QList<CommissionCampaign>& campaigns);
int ReadJoinedCampaignReply(const HttpResponse& r, CommissionCampaign& joined);
// Busy when the application should be tried again.
int ReadApplyReply(const HttpResponse& r);
int ReadExitReply(const HttpResponse& r);

int ReadAffiliateLinkReply(const HttpResponse& r, QString& tao_password, QString& short_link);
int ReadTaoTokenReply(const HttpResponse& r, QString& tao_password);
int ReadPasswordUrlReply(const HttpResponse& r, QString& address);
int ReadItemInfoReply(const HttpResponse& r, GoodsItem& item, QList<CommissionCampaign>& campaigns);
int ReadShortUrlReply(const HttpResponse& r, QString& short_url);

}  // namespace prunko
