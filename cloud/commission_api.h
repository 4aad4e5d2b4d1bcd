#pragma once

#include <QString>

#include "cloud/cloud_common.h"
#include "goods/goods_item.h"

namespace prunko {

// The commission API of the cloud service, acting with the authorised Taobao
// session. Each posts to the commission API base and, only when that cannot
// be reached at all, once more to the backup base.

// Fills the item's page, title, picture, shop type and price.
CloudResult GetItemInfo(qint64 item_id, GoodsItem& item);

// The highest-commission coupon link for the PID, and its rate in percent.
// A reply about an invalid or blank session marks the session invalid.
CloudResult GetPrivilege(qint64 item_id, const QString& pid, QString& coupon_click_url, float& max_commission_rate);

// Empty text on any failure.
QString GetComboShortUrl(const QString& long_url);
QString GetTkl(const QString& url, const QString& text, const QString& pic_url);

// One promoted goods item, for the service's statistics.
struct PromotionReport {
  QString pid;
  QString medium_type;
  QString medium_name;
  qint64 medium_id = -1;
  int member_num = -1;
  qint64 item_id = 0;
  QString origin_url;
  QString coupon_url;
  QString tbk_url;
  QString item_title;
  QString item_description;
  QString tb_command;
};
// Sent to the main base only; the reply is not read.
void ReportPromotion(const PromotionReport& report);

}  // namespace prunko
