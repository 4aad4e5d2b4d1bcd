#pragma once

#include <QString>

#include "goods/goods_item.h"

namespace prunko {

// The coupon landing service, read with the Alimama session.

// The full lookups: item data and coupon into `item`; paced.
int LookupCouponByMe(GoodsItem& item, const QString& me_code);
int LookupCouponByActivity(qint64 item_id, GoodsItem& item, const QString& activity_id);

// The coupon only, into the five coupon fields given; not paced.
struct CouponFields {
  int& surplus;
  int& total;
  float& fee;
  float& start_fee;
  QString& expire;
};
int CheckCouponByMe(const QString& me_code, CouponFields coupon);
int CheckCouponByActivity(qint64 item_id, const QString& activity_id, CouponFields coupon);

// The coupon fields of a goods item.
inline CouponFields CouponFieldsOf(GoodsItem& item) {
  return {item.coupon_surplus, item.coupon_total, item.coupon_fee, item.coupon_start_fee, item.coupon_expire};
}

}  // namespace prunko
