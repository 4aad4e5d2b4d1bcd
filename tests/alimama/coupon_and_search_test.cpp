#include <algorithm>

#include "alimama/coupon_lookup.h"
#include "alimama/item_search.h"
#include "alimama_fixture.h"

namespace prunko {
namespace {

using sandbox::AlimamaStandIn;

using test::Seeded;

class CouponAndSearch : public test::AlimamaFixture {
 protected:
  void SetUp() override {
    AlimamaFixture::SetUp();
    UseLoggedInCookie();
  }
  void LandingAnswers(const std::string& body) {
    server_.Handle(AlimamaStandIn::kCouponLandingHost, "GET", "/cp/coupon", sandbox::Reply(200, body, "application/json"));
  }
};

TEST_F(CouponAndSearch, FullLookupFillsItemAndCoupon) {
  const sandbox::SeedGoods& s = Seeded(0);
  GoodsItem g;
  g.coupon_surplus = 37;
  ASSERT_EQ(LookupCouponByActivity(s.item_id, g, QString::fromStdString(s.activity_id)), kAlimamaOk);
  EXPECT_EQ(g.item_id, s.item_id);
  EXPECT_EQ(g.title, QString::fromStdString(s.title));
  EXPECT_EQ(g.shop_name, QString::fromStdString(s.shop_name));
  EXPECT_EQ(g.is_tmall, GoodsItem::kTmall);
  EXPECT_EQ(g.post_free, 1);
  EXPECT_EQ(g.sales, s.sales);
  EXPECT_FLOAT_EQ(g.price_original, static_cast<float>(s.price));
  EXPECT_FLOAT_EQ(g.coupon_fee, static_cast<float>(s.coupon_fee));
  EXPECT_FLOAT_EQ(g.coupon_start_fee, static_cast<float>(s.coupon_start_fee));
  EXPECT_EQ(g.coupon_expire, QString::fromStdString(s.coupon_expire + " 23:59:59"));
  EXPECT_EQ(g.coupon_surplus, 37);  // kept while coupons are left
  EXPECT_EQ(g.coupon_total, 1000);
  const sandbox::RecordedRequest sent = server_.Requests().back();
  EXPECT_EQ(sent.target, "/cp/coupon?activityId=" + s.activity_id + "&itemId=" + std::to_string(s.item_id));
  EXPECT_EQ(sent.Header("Referer"), "http://uland.taobao.test/coupon/edetail?activityId=" + s.activity_id +
                                        "&itemId=" + std::to_string(s.item_id));
  EXPECT_EQ(clock_.Sleeps().size(), 1u);  // paced

  GoodsItem gone;
  ASSERT_EQ(LookupCouponByMe(gone, QString::fromStdString(AlimamaStandIn::MeCode(Seeded(8)))), kAlimamaOk);
  EXPECT_EQ(gone.coupon_surplus, 0);  // retStatus 1
  EXPECT_EQ(gone.coupon_total, 1000);
}

TEST_F(CouponAndSearch, FullLookupOddReplies) {
  GoodsItem g;
  LandingAnswers(R"({"result":{"item":{"price":1}}})");
  EXPECT_EQ(LookupCouponByMe(g, "x"), kAlimamaBadReply);
  EXPECT_EQ(g, GoodsItem{});
  LandingAnswers(R"({"result":{"retStatus":0,"amount":5,"startFee":30.0,"item":{"title":"t","discountPrice":9}}})");
  ASSERT_EQ(LookupCouponByMe(g, "x"), kAlimamaOk);
  EXPECT_EQ(g.coupon_fee, 0.0f);  // an integral 5 is no floating-point number
  EXPECT_EQ(g.coupon_start_fee, 30.0f);
  EXPECT_EQ(g.price_original, 0.0f);
  stand_in_.SetMisbehaviour(AlimamaStandIn::Misbehaviour::kLoggedOut);
  LandingAnswers("<html><iframe id=\"taobaoLoginIfr\"></iframe></html>");
  EXPECT_EQ(LookupCouponByMe(g, "x"), kAlimamaNotLoggedIn);
}

TEST_F(CouponAndSearch, CouponOnlyChecks) {
  int surplus = 5, total = 0;
  float fee = 0, start_fee = 0;
  QString expire;
  const sandbox::SeedGoods& s = Seeded(3);
  ASSERT_EQ(CheckCouponByActivity(s.item_id, QString::fromStdString(s.activity_id),
                                  {surplus, total, fee, start_fee, expire}),
            kAlimamaOk);
  EXPECT_EQ(surplus, 1000);
  EXPECT_EQ(total, 1000);
  EXPECT_FLOAT_EQ(fee, static_cast<float>(s.coupon_fee));
  EXPECT_TRUE(clock_.Sleeps().empty());  // not paced

  GoodsItem g;
  g.coupon_fee = 7;
  ASSERT_EQ(CheckCouponByMe(QString::fromStdString(AlimamaStandIn::MeCode(Seeded(8))), CouponFieldsOf(g)), kAlimamaOk);
  EXPECT_EQ(g.coupon_surplus, 0);
  EXPECT_EQ(g.coupon_fee, 7.0f);  // nothing else written
  LandingAnswers(R"({"result":{"retStatus":"0"}})");
  EXPECT_EQ(CheckCouponByMe("x", CouponFieldsOf(g)), kAlimamaUnrecognised);
}

TEST_F(CouponAndSearch, SearchFillsTheItemAndListsItsOffers) {
  const sandbox::SeedGoods& s = Seeded(10);  // marketing, Queqiao and a directed campaign
  GoodsItem g;
  g.seller_id = 2200000002;
  g.activity_id = "a77";
  QList<CommissionCampaign> campaigns;
  ASSERT_EQ(SearchItem(s.item_id, g, campaigns), kAlimamaOk);
  EXPECT_EQ(g.coupon_url, u"https://shop.m.taobao.test/shop/coupon.htm?sellerId=2200000002&activityId=a77");
  EXPECT_EQ(g.title, QString::fromStdString(s.title));
  EXPECT_EQ(g.nickname, QString::fromStdString(s.seller_nick));
  EXPECT_EQ(g.seller_id, s.seller_id);
  EXPECT_EQ(g.leaf_cate_id, 50010853);
  EXPECT_EQ(server_.Requests().back().target,
            "/items/search.json?q=https%3A%2F%2Fdetail.tmall.test%2Fitem.htm%3Fid%3D" + std::to_string(s.item_id));
  ASSERT_EQ(campaigns.size(), 3);
  EXPECT_EQ(campaigns[0].type, CommissionCampaign::kMarketingPlan);
  EXPECT_EQ(campaigns[0].name, QString::fromUtf8("营销计划"));
  EXPECT_FLOAT_EQ(campaigns[0].commission_rate, 15.0f);
  EXPECT_EQ(campaigns[1].type, CommissionCampaign::kQueqiao);
  EXPECT_FLOAT_EQ(campaigns[1].commission_rate, 16.5f);
  EXPECT_EQ(campaigns[2].type, CommissionCampaign::kDirected);  // the member "0" is left out
  EXPECT_EQ(campaigns[2].campaign_id, 31000010);
  EXPECT_FLOAT_EQ(campaigns[2].commission_rate, 23.5f);
  EXPECT_EQ(campaigns[2].name, QString::fromUtf8("定向"));

  QList<CommissionCampaign> general;
  GoodsItem plain;
  ASSERT_EQ(SearchItem(Seeded(1).item_id, plain, general), kAlimamaOk);
  EXPECT_TRUE(plain.coupon_url.isEmpty());  // no seller id yet
  ASSERT_EQ(general.size(), 2);
  EXPECT_EQ(general[0].name, QString::fromUtf8("通用"));
}

TEST_F(CouponAndSearch, SearchNoResultLeavesEverythingButTheShopCouponAddress) {
  GoodsItem g;
  g.seller_id = 1;
  g.activity_id = "a";
  g.title = "kept";
  QList<CommissionCampaign> campaigns;
  EXPECT_EQ(SearchItem(42, g, campaigns), kAlimamaNoResult);
  EXPECT_EQ(g.title, u"kept");
  EXPECT_TRUE(campaigns.isEmpty());
  EXPECT_FALSE(g.coupon_url.isEmpty());
}

TEST_F(CouponAndSearch, SearchWaitsOutTwoBusyRepliesButNotThree) {
  QList<CommissionCampaign> campaigns;
  GoodsItem g;
  stand_in_.BusyFor(2);
  ASSERT_EQ(SearchItem(Seeded(0).item_id, g, campaigns), kAlimamaOk);
  const std::vector<qint64> sleeps = clock_.Sleeps();
  EXPECT_EQ(std::count(sleeps.begin(), sleeps.end(), 15000), 2);
  const auto pacing = std::count_if(sleeps.begin(), sleeps.end(), [](qint64 ms) { return ms >= 3000 && ms < 6000; });
  EXPECT_EQ(pacing, 3);  // a pacing pause after each attempt
  const QString log = AppLog().Text();
  EXPECT_TRUE(log.contains(QString::fromUtf8("阿里妈妈网络繁忙(0)，15秒钟后再尝试访问")));
  EXPECT_TRUE(log.contains(QString::fromUtf8("阿里妈妈网络繁忙(1)，15秒钟后再尝试访问")));
  stand_in_.BusyFor(3);
  EXPECT_EQ(SearchItem(Seeded(0).item_id, g, campaigns), kAlimamaBusy);
  stand_in_.SetMisbehaviour(AlimamaStandIn::Misbehaviour::kDeny);
  EXPECT_EQ(SearchItem(Seeded(0).item_id, g, campaigns), kAlimamaDenied);
  stand_in_.SetMisbehaviour(AlimamaStandIn::Misbehaviour::kLimitStatus);
  EXPECT_EQ(SearchItem(Seeded(0).item_id, g, campaigns), kAlimamaNotVerified);
}

}  // namespace
}  // namespace prunko
