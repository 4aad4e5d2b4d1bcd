#include "alimama/item_search.h"

#include <cstdlib>

#include "alimama/alimama_session.h"
#include "core/clock.h"
#include "core/format.h"
#include "core/json_reply.h"
#include "core/log_sink.h"
#include "core/text_convert.h"
#include "net/endpoints.h"

namespace prunko {
namespace {

constexpr int kAttempts = 3;
constexpr qint64 kBusyWaitMs = 15000;

CommissionCampaign Offer(int type, const char16_t* name, float rate, qint64 campaign_id = 0) {
  CommissionCampaign c;
  c.type = type;
  c.name = QString::fromUtf16(name);
  c.commission_rate = rate;
  c.campaign_id = campaign_id;
  return c;
}

void ReadFirstHit(const rapidjson::Value& p, GoodsItem& g, QList<CommissionCampaign>& campaigns) {
  if (auto v = json::String(p, "title")) g.title = *v;
  if (auto v = json::String(p, "pictUrl")) g.pic_url = *v;
  if (auto v = json::String(p, "auctionUrl")) g.item_url = *v;
  if (auto v = json::Int64(p, "sellerId")) g.seller_id = *v;
  if (auto v = json::Int(p, "userType")) g.is_tmall = *v ? GoodsItem::kTmall : GoodsItem::kTaobao;
  if (auto v = json::String(p, "shopTitle")) g.shop_name = *v;
  if (auto v = json::String(p, "nick")) g.nickname = *v;
  if (auto v = json::Float(p, "zkPrice")) g.price_original = *v;
  if (auto v = json::Int(p, "biz30day")) g.sales = *v;
  if (auto v = json::Int64(p, "leafCatId")) g.leaf_cate_id = *v;

  const bool marketing = json::Int(p, "tkMktStatus").value_or(0) > 0;
  if (p.HasMember("tkRate")) {
    const float rate = json::Float(p, "tkRate").value_or(0);
    campaigns.append(marketing ? Offer(CommissionCampaign::kMarketingPlan, u"营销计划", rate)
                               : Offer(CommissionCampaign::kGeneral, u"通用", rate));
  }
  if (p.HasMember("eventRate")) {
    campaigns.append(Offer(CommissionCampaign::kQueqiao, u"鹊桥", json::Float(p, "eventRate").value_or(0)));
  }
  if (const rapidjson::Value* directed = json::Object(p, "tkSpecialCampaignIdRateMap")) {
    for (const auto& member : directed->GetObject()) {
      const qint64 id = std::strtoll(member.name.GetString(), nullptr, 10);
      const float rate = member.value.IsString() ? static_cast<float>(std::atof(member.value.GetString())) : 0.0f;
      if (id > 0) campaigns.append(Offer(CommissionCampaign::kDirected, u"定向", rate, id));
    }
  }
}

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
    rapidjson::Document doc;
    const rapidjson::Value* data = ParseAnsiJson(r.body_text, doc) ? json::Object(doc, "data") : nullptr;
    const rapidjson::Value* head = data ? json::Object(*data, "head") : nullptr;
    if (!head || !data->HasMember("pageList")) {
      const int result = ClassifyReply(r);
      if (result != kAlimamaBusy || attempt >= kAttempts - 1) return result;
      LogPrint(u"阿里妈妈网络繁忙(%d)，15秒钟后再尝试访问", attempt);
      CurrentClock().Sleep(kBusyWaitMs);
      continue;
    }
    const QString status = json::String(*head, "status").value_or(QString());
    if (status == u"NORESULT") return kAlimamaNoResult;
    const rapidjson::Value* pages = json::Array(*data, "pageList");
    if (status == u"OK" && pages && !pages->Empty() && (*pages)[0].IsObject()) {
      ReadFirstHit((*pages)[0], item, campaigns);
    }
    return kAlimamaOk;
  }
  return kAlimamaBusy;
}

}  // namespace prunko
