#include "alimama/campaigns.h"

#include <algorithm>

#include "alimama/alimama_session.h"
#include "alimama/item_search.h"
#include "cloud/item_cache.h"
#include "core/clock.h"
#include "core/format.h"
#include "core/json_reply.h"
#include "core/log_sink.h"
#include "core/text_convert.h"
#include "core/url_util.h"
#include "net/endpoints.h"

namespace prunko {
namespace {

constexpr int kApplyAttempts = 3;
constexpr qint64 kBusyWaitMs = 15000;

QString PubUrl(const QString& path_and_query) {
  return QStringLiteral("http://") + CurrentEndpoints().alimama_pub_host + path_and_query;
}

// A Get with the session; logs a transport failure as the campaign requests do.
bool SessionGet(const QString& url, HttpResponse& response) {
  if (HttpClient().Get(url, AlimamaHomeReferer(), CurrentAlimamaSession().cookie, response)) return true;
  if (!response.error_text.isEmpty()) LogPrint(u"网络错误：%s", AnsiToWide(response.error_text));
  return false;
}

// The reply's boolean "ok", when the body is an object that has one.
std::optional<bool> OkMember(const rapidjson::Document& doc) {
  if (!doc.IsObject() || !doc.HasMember("ok") || !doc["ok"].IsBool()) return std::nullopt;
  return doc["ok"].GetBool();
}

void ExitEarlierApplication(const CommissionCampaign& c) {
  LogPrint(u"已退出该店铺之前申请过的定向计划“%s”", c.name);
  ExitCampaign(c.application_id);
}

}  // namespace

int GetShopCampaigns(qint64 seller_id, QList<CommissionCampaign>& campaigns) {
  HttpResponse r;
  if (!SessionGet(PubUrl(FormatString(u"/shopdetail/campaigns.json?oriMemberId=%lld&_input_charset=utf-8", seller_id)),
                  r)) {
    return kAlimamaNetworkError;
  }
  LogPrint(u"获取佣金计划列表完毕");
  PacingPause();
  rapidjson::Document doc;
  const rapidjson::Value* data = ParseAnsiJson(r.body_text, doc) ? json::Object(doc, "data") : nullptr;
  if (!data) return ClassifyReply(r);

  qint64 apply_id = 0;
  qint64 applied_campaign = 0;
  if (const rapidjson::Value* applied = json::Array(*data, "exsitApplyList"); applied && !applied->Empty()) {
    const rapidjson::Value& first = (*applied)[0];
    if (first.IsObject() && first.HasMember("id") && first.HasMember("campaignId")) {
      apply_id = json::Int64(first, "id").value_or(0);
      applied_campaign = json::Int64(first, "campaignId").value_or(0);
    }
  }
  const rapidjson::Value* list = json::Array(*data, "campaignList");
  if (!list) return kAlimamaOk;
  LogPrint(u"查询到商家的所有定向计划数：%d 个", static_cast<int>(list->Size()));
  const bool any_directed = std::any_of(campaigns.begin(), campaigns.end(),
                                        [](const CommissionCampaign& c) { return c.type == CommissionCampaign::kDirected; });
  for (const rapidjson::Value& element : list->GetArray()) {
    const qint64 id = json::Int64(element, "campaignId").value_or(0);
    if (id == 0 || !any_directed) continue;
    const QString name = json::String(element, "campaignName").value_or(QString());
    const qint64 keeper = json::Int64(element, "shopKeeperId").value_or(0);
    const bool audit = json::Int(element, "properties") != 1;
    const qint64 application = id == applied_campaign ? apply_id : 0;
    for (CommissionCampaign& c : campaigns) {
      if (c.campaign_id != id) continue;
      c.name = name;
      c.shop_keeper_id = keeper;
      c.need_audit = audit;
      c.application_id = application;
    }
  }
  return kAlimamaOk;
}

int GetJoinedCampaign(CommissionCampaign& joined, const QString& seller_nick) {
  HttpResponse r;
  const QString url = PubUrl(FormatString(
      u"/campaign/joinedCampaigns.json?toPage=1&perPageSize=40&nickname=%s&_tb_token_=%s&_input_charset=utf-8",
      UrlEncode(seller_nick), CurrentAlimamaSession().tbToken));
  if (!SessionGet(url, r)) return kAlimamaNetworkError;
  PacingPause();
  rapidjson::Document doc;
  const rapidjson::Value* data = ParseAnsiJson(r.body_text, doc) ? json::Object(doc, "data") : nullptr;
  if (!data) return ClassifyReply(r);
  const rapidjson::Value* pages = json::Array(*data, "pagelist");
  if (OkMember(doc) == true && pages && !pages->Empty() && (*pages)[0].IsObject() &&
      json::Int((*pages)[0], "status") == 2) {
    const rapidjson::Value& p = (*pages)[0];
    joined.type = CommissionCampaign::kDirected;
    if (auto v = json::Int64(p, "campaignId")) joined.campaign_id = *v;
    if (auto v = json::String(p, "campaignName")) joined.name = *v;
    if (auto v = json::Int64(p, "shopKeeperId")) joined.shop_keeper_id = *v;
    if (auto v = json::Int64(p, "id")) joined.application_id = *v;
  }
  return kAlimamaOk;
}

int ApplyCampaign(qint64 shop_keeper_id, qint64 campaign_id) {
  const QString token = CurrentAlimamaSession().tbToken;
  const QString body = FormatString(u"campId=%lld&keeperid=%lld&applyreason=%s&_tb_token_=%s", campaign_id,
                                    shop_keeper_id, kApplyReason, token);
  LogPrint(u"token:%s", token);
  HttpResponse r;
  rapidjson::Document doc;
  for (int attempt = 0; attempt < kApplyAttempts; ++attempt) {
    PacingPause();
    r = HttpResponse();
    if (!HttpClient().Post(PubUrl(QStringLiteral("/pubauc/applyForCommonCampaign.json")), body, AlimamaHomeReferer(),
                           CurrentAlimamaSession().cookie, r)) {
      return kAlimamaNetworkError;
    }
    if (ParseAnsiJson(r.body_text, doc) && OkMember(doc)) break;
    const int result = ClassifyReply(r);
    if (result != kAlimamaBusy || attempt >= kApplyAttempts - 1) return result;
    LogPrint(u"阿里妈妈网络繁忙(%d)，15秒钟后再尝试申请", attempt);
    CurrentClock().Sleep(kBusyWaitMs);
  }
  LogPrint(u"申请佣金计划返回结果：%s", AnsiToWide(r.body_text));
  if (*OkMember(doc)) return kAlimamaOk;
  const rapidjson::Value* info = json::Object(doc, "info");
  const QString message = info ? json::String(*info, "message").value_or(QString()) : QString();
  if (message.contains(u"已经申请过")) return kAlimamaOk;
  if (message.contains(u"页面失效")) return kAlimamaTokenExpired;
  return kAlimamaRejected;
}

int ExitCampaign(qint64 application_id) {
  HttpResponse r;
  const QString body = FormatString(u"pubCampaignid=%lld&_tb_token_=%s", application_id, CurrentAlimamaSession().tbToken);
  if (!HttpClient().Post(PubUrl(QStringLiteral("/campaign/exitCampaign.json")), body, AlimamaHomeReferer(),
                         CurrentAlimamaSession().cookie, r)) {
    return kAlimamaNetworkError;
  }
  PacingPause();
  rapidjson::Document doc;
  if (!ParseAnsiJson(r.body_text, doc)) return ClassifyReply(r);
  const std::optional<bool> ok = OkMember(doc);
  if (!ok) return ClassifyReply(r);
  return *ok ? kAlimamaOk : kAlimamaRejected;
}

int FindHighestCommission(qint64 item_id, GoodsItem& item, QList<CommissionCampaign>& campaigns, bool& from_cache) {
  from_cache = false;
  if (QueryItemCache(item_id, item) == kItemCached && item.campaign.commission_rate > 0) {
    from_cache = true;
    return kAlimamaOk;
  }
  int r = SearchItem(item_id, item, campaigns);
  if (r != kAlimamaOk) return r;
  r = GetShopCampaigns(item.seller_id, campaigns);
  if (r != kAlimamaOk) {
    LogPrint(u"查询佣金计划列表失败，错误码:%d", r);
    return r;
  }
  CommissionCampaign best;
  for (const CommissionCampaign& c : campaigns) {
    if (!c.need_audit && c.commission_rate >= best.commission_rate) best = c;
  }
  item.campaign = best;
  UpdateItemCache(item_id, item);
  return kAlimamaOk;
}

int ApplyHighestCommission(qint64 item_id, CommissionCampaign& campaign) {
  GoodsItem item;
  QList<CommissionCampaign> campaigns;
  bool from_cache = false;
  const int found = FindHighestCommission(item_id, item, campaigns, from_cache);
  if (found != kAlimamaOk) return found;
  campaign = item.campaign;
  LogPrint(from_cache ? u"成功获取佣金缓存：%s, %.1f %%" : u"成功获取佣金：%s, %.1f %%", campaign.name,
           campaign.commission_rate);
  switch (campaign.type) {
    case CommissionCampaign::kDirected: {
      if (campaign.application_id != 0) {
        LogPrint(u"该定向高佣金计划状态为：已申请，无需再次申请");
        return kAlimamaOk;
      }
      LogPrint(u"准备申请定向高佣金计划");
      const int applied = ApplyCampaign(campaign.shop_keeper_id, campaign.campaign_id);
      if (applied != kAlimamaOk) {
        LogPrint(u"申请定向佣金计划失败:%d", applied);
        return applied;
      }
      LogPrint(u"申请定向佣金计划成功！");
      return kAlimamaOk;
    }
    case CommissionCampaign::kGeneral:
      LogPrint(u"通用佣金无需申请");
      if (from_cache) {
        CommissionCampaign joined;
        GetJoinedCampaign(joined, item.nickname);
        if (joined.application_id != 0) ExitEarlierApplication(joined);
      } else {
        for (const CommissionCampaign& c : campaigns) {
          if (c.application_id != 0) ExitEarlierApplication(c);
        }
      }
      return kAlimamaOk;
    case CommissionCampaign::kQueqiao:
      LogPrint(u"鹊桥佣金计划无需申请");
      return kAlimamaOk;
    case CommissionCampaign::kMarketingPlan:
      LogPrint(u"营销计划佣金计划无需申请");
      return kAlimamaOk;
    default:
      LogPrint(u"没有获取到最高佣金");
      return kAlimamaRejected;
  }
}

}  // namespace prunko
