#pragma once

#include <QList>
#include <QString>

#include "goods/goods_item.h"
#include "net/http_client.h"

namespace prunko {

// The site id and adzone id of a PID ("mm_<member>_<site>_<adzone>", found
// anywhere in the text). False when there is none.
bool ParsePid(const QString& pid, QString& site_id, QString& adzone_id);

// The user's affiliate Tao password and short link for an item, or for any
// promotion address, through the publisher site.
int GetAuctionCode(qint64 item_id, const QString& pid, QString& tao_password, QString& short_link);
int UrlTransForOfficial(const QString& pid, const QString& address, QString& tao_password, QString& short_link);

// A signed call to the Taobao H5 gateway: one request for the token cookie,
// then the call itself. The caller reads the reply.
int MtopCall(HttpResponse& response, bool with_taobao_cookie, const QString& api, const QString& version,
             const QString& data);

// A Tao password for any address; the address behind a Tao password; item
// data and commission offers (choosing the best from the item's current one).
int CreateTaoPassword(const QString& address, const QString& text, const QString& picture, QString& tao_password);
int ResolveTaoPassword(const QString& tao_password, QString& address);
int GetItemInfoH5(qint64 item_id, GoodsItem& item, QList<CommissionCampaign>& campaigns);

// The microblog short address of a long one.
int ShortenUrl(const QString& long_url, QString& short_url);

}  // namespace prunko
