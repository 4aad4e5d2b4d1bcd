#include "cloud/summary_site.h"

#include "cloud/account_session.h"
#include "cloud/cloud_common.h"
#include "cloud/json_text.h"
#include "core/format.h"
#include "core/json_reply.h"
#include "core/log_sink.h"
#include "core/url_util.h"

namespace prunko {

bool UploadToSummarySite(const GoodsItem& item, const QString& tao_password) {
  const AccountSession account = CurrentAccount();
  const QString data = JsonText()
                           .Number("user_id", "%lld", static_cast<long long>(account.user_id))
                           .QuotedNumber("item_id", "%lld", static_cast<long long>(item.item_id))
                           .Text("activity_id", item.activity_id)
                           .Number("leaf_cate_id", "%lld", static_cast<long long>(item.leaf_cate_id))
                           .Text("title", item.title)
                           .Number("shop_type", "%d", item.is_tmall)
                           .Text("pic_url", item.pic_url)
                           .Number("price_org", "%.2f", static_cast<double>(item.price_original))
                           .Number("price_discount", "%.2f", static_cast<double>(item.price_discount))
                           .Number("coupon_fee", "%.2f", static_cast<double>(item.coupon_fee))
                           .Text("coupon_expire", item.coupon_expire)
                           .Number("sales", "%d", item.sales)
                           .Number("post_free", "%d", item.post_free)
                           .Text("intro", item.desc)
                           .Text("tkl", tao_password)
                           .Finish();
  const QString sign = CloudSign(FormatString(u"%lld&%lld", account.user_id, item.item_id));
  const QString body = QStringLiteral("data=") + UrlEncode(data) + QStringLiteral("&sign=") + sign;
  LogPrint(u"准备上传商品到每日汇总网站");
  HttpResponse response;
  if (!CloudPost(account.summary_site_url + QStringLiteral("/upload"), body, response)) {
    LogPrint(u"网络错误，上传商品到每日汇总网站失败");
    return false;
  }
  rapidjson::Document reply;
  const std::optional<int> status = ParseAnsiJson(response.body_text, reply) ? json::Int(reply, "status") : std::nullopt;
  if (!status) {
    LogPrint(u"网络错误，上传商品到每日汇总网站返回数据错误");
    return false;
  }
  if (*status == 200) {
    LogPrint(u"上传商品到每日汇总网站成功");
  } else if (const std::optional<QString> msg = json::String(reply, "msg")) {
    LogPrint(u"上传商品失败，%s", *msg);
  } else {
    LogPrint(u"上传商品失败，未知错误");
  }
  return true;
}

}  // namespace prunko
