#include "cloud/item_cache.h"

#include "cloud/cloud_common.h"
#include "cloud/json_text.h"
#include "core/format.h"
#include "core/json_reply.h"
#include "core/log_sink.h"
#include "core/url_util.h"
#include "net/endpoints.h"

namespace prunko {
namespace {

void ReadCampaign(const rapidjson::Value& c, CommissionCampaign& campaign) {
  if (auto v = json::Int(c, "type")) campaign.type = *v;
  if (auto v = json::Int64(c, "campaign_id")) campaign.campaign_id = *v;
  if (auto v = json::Int64(c, "shop_keeper_id")) campaign.shop_keeper_id = *v;
  if (auto v = json::String(c, "name")) campaign.name = *v;
  if (auto v = json::Number(c, "commission_rate")) campaign.commission_rate = static_cast<float>(*v);
  if (auto v = json::Int(c, "need_audit")) campaign.need_audit = *v != 0;
}

}  // namespace

int QueryItemCache(qint64 item_id, GoodsItem& item) {
  HttpResponse response;
  const QString url = CurrentEndpoints().item_cache_base + QStringLiteral("/get-item-info");
  if (!CloudPost(url, FormatString(u"appkey=%s&id=%lld", kCloudAppKey, item_id), response)) {
    return kItemCacheUnreachable;
  }
  rapidjson::Document reply;
  if (!ParseAnsiJson(response.body_text, reply)) return kItemCacheBadReply;
  const std::optional<int> status = json::Int(reply, "status");
  const rapidjson::Value* data = json::Object(reply, "data");
  if (!status || !data) return kItemCacheBadReply;
  if (*status == 404) return kItemNotCached;
  if (*status != 200) return kItemCacheBadReply;

  if (auto v = json::String(*data, "title")) item.title = *v;
  if (auto v = json::String(*data, "pic_url")) item.pic_url = *v;
  if (auto v = json::String(*data, "item_url")) item.item_url = *v;
  if (auto v = json::Int64(*data, "seller_id")) item.seller_id = *v;
  if (auto v = json::Int(*data, "shop_type")) item.is_tmall = *v;
  if (auto v = json::String(*data, "shop_name")) item.shop_name = *v;
  if (auto v = json::String(*data, "nickname")) item.nickname = *v;
  if (auto v = json::Number(*data, "price_org")) item.price_original = static_cast<float>(*v);
  if (auto v = json::Int(*data, "sales")) item.sales = *v;
  if (auto v = json::Int64(*data, "leaf_cate_id")) item.leaf_cate_id = *v;
  if (const rapidjson::Value* campaign = json::Object(*data, "campaign")) ReadCampaign(*campaign, item.campaign);
  return kItemCached;
}

bool UpdateItemCache(qint64 item_id, const GoodsItem& item) {
  LogPrint(u"将商品信息进行缓存:%lld", item_id);
  const QString item_data = JsonText()
                                .Number("item_id", "%lld", static_cast<long long>(item_id))
                                .Text("title", item.title)
                                .Text("pic_url", item.pic_url)
                                .Text("item_url", item.item_url)
                                .Number("seller_id", "%lld", static_cast<long long>(item.seller_id))
                                .Number("shop_type", "%d", item.is_tmall)
                                .Text("shop_name", item.shop_name)
                                .Text("nickname", item.nickname)
                                .Number("price_org", "%.2f", static_cast<double>(item.price_original))
                                .Number("sales", "%d", item.sales)
                                .Number("leaf_cate_id", "%lld", static_cast<long long>(item.leaf_cate_id))
                                .Finish();
  const CommissionCampaign& c = item.campaign;
  const QString campaign_data = JsonText()
                                    .Number("type", "%d", c.type)
                                    .Number("campaign_id", "%lld", static_cast<long long>(c.campaign_id))
                                    .Text("name", c.name)
                                    .Number("shop_keeper_id", "%lld", static_cast<long long>(c.shop_keeper_id))
                                    .Number("commission_rate", "%.2f", static_cast<double>(c.commission_rate))
                                    .Number("need_audit", "%d", c.need_audit ? 1 : 0)
                                    .Finish();
  // Signed over the id the data carries: a goods item fresh from the
  // commission search has no item_id of its own yet.
  const QString sign = CloudSign(FormatString(u"%lld&%lld", item_id, c.campaign_id));
  QString body = FormatString(u"appkey=%s&item_data=", kCloudAppKey);
  body += UrlEncode(item_data) + QStringLiteral("&campaign_data=") + UrlEncode(campaign_data) +
          QStringLiteral("&sign=") + sign;
  HttpResponse response;
  return CloudPost(CurrentEndpoints().item_cache_base + QStringLiteral("/update-item-info"), body, response);
}

}  // namespace prunko
