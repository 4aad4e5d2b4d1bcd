#include "alimama/campaigns.h"

#include "alimama/alimama_session.h"
#include "alimama/item_search.h"
#include "alimama/replies.h"
#include "cloud/item_cache.h"
#include "core/clock.h"
#include "core/format.h"
#include "core/log_sink.h"
#include "core/text_convert.h"
#include "core/url_util.h"
#include "net/endpoints.h"

namespace prunko {
namespace {

constexpr int kApplyAttempts = 3;

QString PubUrl(const QString& path_and_query) {
  return QStringLiteral("http://") + CurrentEndpoints().alimama_pub_host + path_and_query;
}

// A Get with the session; logs a transport failure as the campaign requests do.
bool SessionGet(const QString& url, HttpResponse& response) {
  if (HttpClient().Get(url, AlimamaHomeReferer(), CurrentAlimamaSession().cookie, response)) return true;
  if (!response.error_text.isEmpty()) LogPrint(u"网络错误：%s", AnsiToWide(response.error_text));
  return false;
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
  return ReadShopCampaignsReply(r, campaigns);
}

int GetJoinedCampaign(CommissionCampaign& joined, const QString& seller_nick) {
  HttpResponse r;
  const QString url = PubUrl(FormatString(
      u"/campaign/joinedCampaigns.json?toPage=1&perPageSize=40&nickname=%s&_tb_token_=%s&_input_charset=utf-8",
      UrlEncode(seller_nick), CurrentAlimamaSession().tbToken));
  if (!SessionGet(url, r)) return kAlimamaNetworkError;
  PacingPause();
  return ReadJoinedCampaignReply(r, joined);
}

int ApplyCampaign(qint64 shop_keeper_id, qint64 campaign_id) {
  const QString token = CurrentAlimamaSession().tbToken;
  const QString body = FormatString(u"campId=%lld&keeperid=%lld&applyreason=%s&_tb_token_=%s", campaign_id,
                                    shop_keeper_id, kApplyReason, token);
  LogPrint(u"token:%s", token);
  for (int attempt = 0; attempt < kApplyAttempts; ++attempt) {
    PacingPause();
    HttpResponse r;
    if (!HttpClient().Post(PubUrl(QStringLiteral("/pubauc/applyForCommonCampaign.json")), body, AlimamaHomeReferer(),
                           CurrentAlimamaSession().cookie, r)) {
      return kAlimamaNetworkError;
    }
    const int result = ReadApplyReply(r);
    if (result != kAlimamaBusy || attempt >= kApplyAttempts - 1) return result;
    LogPrint(u"阿里妈妈网络繁忙(%d)，15秒钟后再尝试申请", attempt);
    CurrentClock().Sleep(kBusyRetryWaitMs);
  }
  return kAlimamaBusy;
}

int ExitCampaign(qint64 application_id) {
  HttpResponse r;
  const QString body = FormatString(u"pubCampaignid=%lld&_tb_token_=%s", application_id, CurrentAlimamaSession().tbToken);
  if (!HttpClient().Post(PubUrl(QStringLiteral("/campaign/exitCampaign.json")), body, AlimamaHomeReferer(),
                         CurrentAlimamaSession().cookie, r)) {
    return kAlimamaNetworkError;
  }
  PacingPause();
  return ReadExitReply(r);
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
