#pragma once

#include <QString>

namespace prunko {

// One commission offer for one item (percent rates: 20.5 means 20.5 %).
struct CommissionCampaign {
  enum Type { kNone = 0, kGeneral = 1, kDirected = 2, kQueqiao = 3, kMarketingPlan = 4 };

  int type = kNone;
  qint64 campaign_id = 0;     // 0 for general, Queqiao and marketing offers
  qint64 shop_keeper_id = 0;  // directed campaigns only
  QString name;               // "通用", "定向", "鹊桥", "营销计划" or the campaign's own
  float commission_rate = 0;
  bool need_audit = false;    // needs the shop's approval: never chosen
  qint64 application_id = 0;  // the user's existing application; 0 when none

  bool operator==(const CommissionCampaign&) const = default;
};

// One promotable goods item. A plain value: the pool stores copies and
// workers write results back by pool_key.
struct GoodsItem {
  enum ShopType { kTaobao = 1, kTmall = 2 };
  enum SendStatus { kSendFailed = -1, kWaiting = 0, kSent = 1, kSkippedRepeat = 2, kQueuedAgain = 3 };

  qint64 pool_key = 0;  // identity inside the pool; 0 outside it
  qint64 item_id = 0;
  QString activity_id;
  QString title;
  QString desc;
  QString pic_url;
  QString pic_url_2;  // preferred for the picture when set
  QString item_url;
  QString coupon_url;
  QString me_code;
  int post_free = 0;
  float price_original = 0;
  float price_discount = 0;  // negative: not known yet
  int is_tmall = 0;
  QString shop_name;
  QString nickname;
  int sales = 0;
  float coupon_start_fee = 0;
  float coupon_fee = 0;
  int coupon_count = 0;
  int coupon_surplus = 0;
  int coupon_total = 0;
  QString coupon_expire;
  QString local_pic_path;
  qint64 seller_id = 0;
  qint64 leaf_cate_id = 0;
  CommissionCampaign campaign;
  int send_status = kWaiting;
  QString send_status_text;

  bool operator==(const GoodsItem&) const = default;
};

}  // namespace prunko
