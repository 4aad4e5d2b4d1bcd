#include "alimama/replies.h"

#include <QRegularExpression>

#include <algorithm>
#include <cstdlib>

#include "alimama/alimama_session.h"
#include "core/json_reply.h"
#include "core/log_sink.h"
#include "core/string_util.h"
#include "core/text_convert.h"

namespace prunko {
namespace {

// "Coupons left" as the landing page tells it: it has no count.
constexpr int kSomeLeft = 1000;

const rapidjson::Value* DataObject(const HttpResponse& r, rapidjson::Document& doc) {
  return ParseAnsiJson(r.body_text, doc) ? json::Object(doc, "data") : nullptr;
}

// The reply's boolean "ok", when the body is an object that has one.
std::optional<bool> OkMember(const rapidjson::Document& doc) {
  if (!doc.IsObject() || !doc.HasMember("ok") || !doc["ok"].IsBool()) return std::nullopt;
  return doc["ok"].GetBool();
}

void ReadCouponAmounts(const rapidjson::Value& result, float& fee, float& start_fee, QString& expire) {
  fee = json::Float(result, "amount").value_or(0);
  start_fee = json::Float(result, "startFee").value_or(0);
  expire = json::String(result, "effectiveEndTime").value_or(QString());
}

float DecimalOf(const rapidjson::Value& object, const char* key) {
  const std::optional<QString> text = json::String(object, key);
  return text ? static_cast<float>(std::atof(text->toUtf8().constData())) : 0.0f;
}

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

int ReadLogInfoReply(const HttpResponse& r, qint64& member_id, QString& nick) {
  if (r.body_text.contains("\"success\":false")) return kAlimamaNotLoggedIn;
  if (!r.body_text.contains("\"memberID\":")) return kAlimamaBadReply;
  static const QRegularExpression pattern(QStringLiteral(R"re("memberID":(\d+),"nickName":"([^"]+)")re"));
  const QRegularExpressionMatch m = pattern.match(AnsiToWide(r.body_text));
  if (m.hasMatch()) {
    member_id = m.captured(1).toLongLong();
    QString escaped = m.captured(2);
    ReplaceAll(escaped, u"\\\\", u"\\");
    nick = UnescapeUnicode(WideToAnsi(escaped));
  }
  return kAlimamaOk;
}

int ReadPubContextReply(const HttpResponse& r, qint64& member_id, QString& nick) {
  if (r.body_text.contains("\"noLogin\":true")) return kAlimamaNotLoggedIn;
  rapidjson::Document doc;
  const rapidjson::Value* data = DataObject(r, doc);
  if (!data) return ClassifyReply(r);
  if (!data->HasMember("memberid") || !data->HasMember("mmNick")) return kAlimamaBadReply;
  member_id = json::Int64(*data, "memberid").value_or(0);
  nick = json::String(*data, "mmNick").value_or(QString());
  return kAlimamaOk;
}

int ReadLandingReply(const HttpResponse& r, GoodsItem& g) {
  rapidjson::Document doc;
  const rapidjson::Value* result =
      ParseAnsiJson(r.body_text, doc) && doc.IsObject() && doc.HasMember("result") ? &doc["result"] : nullptr;
  if (!result || !result->IsObject() || !result->HasMember("item")) return ClassifyReply(r);
  const rapidjson::Value& item = (*result)["item"];
  if (!item.IsObject() || (!item.HasMember("picUrl") && !item.HasMember("title"))) return kAlimamaBadReply;

  if (auto v = json::Int64(item, "itemId")) g.item_id = *v;
  if (auto v = json::String(item, "title")) g.title = *v;
  if (auto v = json::String(item, "picUrl")) g.pic_url = *v;
  if (auto v = json::Float(item, "discountPrice")) g.price_original = *v;
  if (auto v = json::Int(item, "biz30Day")) g.sales = *v;
  if (auto v = json::String(item, "postFree")) g.post_free = v->toInt();
  if (auto v = json::String(item, "tmall")) g.is_tmall = v->toInt() == 1 ? GoodsItem::kTmall : GoodsItem::kTaobao;
  if (auto v = json::String(*result, "shopName")) g.shop_name = *v;

  if (json::Int(*result, "retStatus").value_or(0) != 0) {
    g.coupon_surplus = 0;
  } else if (g.coupon_surplus == 0) {
    g.coupon_surplus = kSomeLeft;
  }
  if (g.coupon_total == 0) g.coupon_total = kSomeLeft;
  ReadCouponAmounts(*result, g.coupon_fee, g.coupon_start_fee, g.coupon_expire);
  return kAlimamaOk;
}

int ReadCouponCheckReply(const HttpResponse& r, CouponFields c) {
  rapidjson::Document doc;
  const rapidjson::Value* result = ParseAnsiJson(r.body_text, doc) ? json::Object(doc, "result") : nullptr;
  const std::optional<int> status = result ? json::Int(*result, "retStatus") : std::nullopt;
  if (!status) return ClassifyReply(r);
  if (*status != 0) {
    c.surplus = 0;
    return kAlimamaOk;
  }
  c.surplus = kSomeLeft;
  c.total = kSomeLeft;
  ReadCouponAmounts(*result, c.fee, c.start_fee, c.expire);
  return kAlimamaOk;
}

int ReadSearchReply(const HttpResponse& r, GoodsItem& item, QList<CommissionCampaign>& campaigns) {
  rapidjson::Document doc;
  const rapidjson::Value* data = DataObject(r, doc);
  const rapidjson::Value* head = data ? json::Object(*data, "head") : nullptr;
  if (!head || !data->HasMember("pageList")) return ClassifyReply(r);
  const QString status = json::String(*head, "status").value_or(QString());
  if (status == u"NORESULT") return kAlimamaNoResult;
  const rapidjson::Value* pages = json::Array(*data, "pageList");
  if (status == u"OK" && pages && !pages->Empty() && (*pages)[0].IsObject()) ReadFirstHit((*pages)[0], item, campaigns);
  return kAlimamaOk;
}

int ReadShopCampaignsReply(const HttpResponse& r, QList<CommissionCampaign>& campaigns) {
  rapidjson::Document doc;
  const rapidjson::Value* data = DataObject(r, doc);
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

int ReadJoinedCampaignReply(const HttpResponse& r, CommissionCampaign& joined) {
  rapidjson::Document doc;
  const rapidjson::Value* data = DataObject(r, doc);
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

int ReadApplyReply(const HttpResponse& r) {
  rapidjson::Document doc;
  const std::optional<bool> ok = ParseAnsiJson(r.body_text, doc) ? OkMember(doc) : std::nullopt;
  if (!ok) return ClassifyReply(r);
  LogPrint(u"申请佣金计划返回结果：%s", AnsiToWide(r.body_text));
  if (*ok) return kAlimamaOk;
  const rapidjson::Value* info = json::Object(doc, "info");
  const QString message = info ? json::String(*info, "message").value_or(QString()) : QString();
  if (message.contains(u"已经申请过")) return kAlimamaOk;
  if (message.contains(u"页面失效")) return kAlimamaTokenExpired;
  return kAlimamaRejected;
}

int ReadExitReply(const HttpResponse& r) {
  rapidjson::Document doc;
  const std::optional<bool> ok = ParseAnsiJson(r.body_text, doc) ? OkMember(doc) : std::nullopt;
  if (!ok) return ClassifyReply(r);
  return *ok ? kAlimamaOk : kAlimamaRejected;
}

int ReadAffiliateLinkReply(const HttpResponse& r, QString& tao_password, QString& short_link) {
  rapidjson::Document doc;
  const rapidjson::Value* data = DataObject(r, doc);
  if (!data) return ClassifyReply(r);
  const std::optional<QString> token = json::String(*data, "taoToken");
  if (!token) return kAlimamaBadReply;
  tao_password = *token;
  if (auto link = json::String(*data, "shortLinkUrl")) short_link = *link;
  return kAlimamaOk;
}

int ReadTaoTokenReply(const HttpResponse& r, QString& tao_password) {
  rapidjson::Document doc;
  const rapidjson::Value* data = DataObject(r, doc);
  if (!data) return kAlimamaBadReply;
  if (data->HasMember("taoToken")) tao_password = json::String(*data, "taoToken").value_or(QString());
  return kAlimamaOk;
}

int ReadPasswordUrlReply(const HttpResponse& r, QString& address) {
  rapidjson::Document doc;
  const rapidjson::Value* data = DataObject(r, doc);
  if (!data) return kAlimamaBadReply;
  if (data->HasMember("url")) address = json::String(*data, "url").value_or(QString());
  return kAlimamaOk;
}

int ReadItemInfoReply(const HttpResponse& r, GoodsItem& item, QList<CommissionCampaign>& campaigns) {
  rapidjson::Document doc;
  const rapidjson::Value* d = DataObject(r, doc);
  if (!d) return kAlimamaBadReply;
  if (auto v = json::String(*d, "title")) item.title = *v;
  if (auto v = json::String(*d, "pictUrl")) item.pic_url = *v;
  if (auto v = json::String(*d, "rawUrl")) item.item_url = v->contains(u"http") ? *v : QStringLiteral("http:") + *v;
  if (auto v = json::String(*d, "tmall")) item.is_tmall = v->toInt() == 1 ? GoodsItem::kTmall : GoodsItem::kTaobao;
  if (json::String(*d, "discountPrice")) item.price_original = DecimalOf(*d, "discountPrice");
  if (json::String(*d, "biz30Day")) item.sales = static_cast<int>(DecimalOf(*d, "biz30Day"));

  const struct {
    const char* key;
    int type;
    const char16_t* name;
  } offers[] = {{"commonRate", CommissionCampaign::kGeneral, u"通用"},
                {"dxRate", CommissionCampaign::kDirected, u"定向"},
                {"eventRate", CommissionCampaign::kQueqiao, u"鹊桥"},
                {"mktRate", CommissionCampaign::kMarketingPlan, u"营销计划"}};
  for (const auto& offer : offers) {
    if (d->HasMember(offer.key)) campaigns.append(Offer(offer.type, offer.name, DecimalOf(*d, offer.key)));
  }
  for (const CommissionCampaign& c : campaigns) {
    if (!c.need_audit && c.commission_rate >= item.campaign.commission_rate) item.campaign = c;
  }
  return kAlimamaOk;
}

int ReadShortUrlReply(const HttpResponse& r, QString& short_url) {
  rapidjson::Document doc;
  const rapidjson::Value* urls = ParseAnsiJson(r.body_text, doc) ? json::Array(doc, "urls") : nullptr;
  if (!urls || urls->Empty()) return kAlimamaBadReply;
  const std::optional<QString> answer = json::String((*urls)[0], "url_short");
  if (!answer) return kAlimamaBadReply;
  short_url = *answer;
  return kAlimamaOk;
}

}  // namespace prunko
