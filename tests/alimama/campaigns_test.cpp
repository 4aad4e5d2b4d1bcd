#include "alimama/campaigns.h"

#include <QRegularExpression>

#include "alimama_fixture.h"
#include "cloud/item_cache.h"

namespace prunko {
namespace {

using sandbox::AlimamaStandIn;

qint64 ItemId(int index) { return test::Seeded(index).item_id; }

class Campaigns : public test::AlimamaFixture {
 protected:
  void SetUp() override {
    AlimamaFixture::SetUp();
    UseLoggedInCookie();
  }
  void SearchAnswers(const std::string& hit) {
    server_.Handle(AlimamaStandIn::kPubHost, "GET", "/items/search.json",
                   sandbox::Reply(200, R"({"data":{"head":{"status":"OK"},"pageList":[)" + hit + "]}}",
                                  "application/json"));
  }
  void ShopAnswers(const std::string& data) {
    server_.Handle(AlimamaStandIn::kPubHost, "GET", "/shopdetail/campaigns.json",
                   sandbox::Reply(200, R"({"data":)" + data + "}", "application/json"));
  }
  void ApplyAnswers(const std::string& body) {
    server_.Handle(AlimamaStandIn::kPubHost, "POST", "/pubauc/applyForCommonCampaign.json",
                   sandbox::Reply(200, body, "application/json"));
  }
  bool Logged(const char* utf8) const { return AppLog().Text().contains(QString::fromUtf8(utf8)); }
};

TEST_F(Campaigns, TheBestDirectedCampaignIsAppliedForAndCached) {
  CommissionCampaign best;
  ASSERT_EQ(ApplyHighestCommission(ItemId(18), best), kAlimamaOk);
  EXPECT_EQ(best.type, CommissionCampaign::kDirected);
  EXPECT_EQ(best.campaign_id, AlimamaStandIn::DirectedCampaignOf(18));
  EXPECT_EQ(best.name, QString::fromUtf8("定向计划18"));
  EXPECT_EQ(best.shop_keeper_id, 3300000002);
  EXPECT_FLOAT_EQ(best.commission_rate, 23.5f);
  EXPECT_EQ(stand_in_.Applications(),
            std::vector<std::string>{"31000018,3300000002,【Velmorind】申请贵店计划，望通过！"});
  EXPECT_TRUE(Logged("成功获取佣金：定向计划18, 23.5 %"));
  EXPECT_TRUE(Logged("申请定向佣金计划成功！"));

  // Now in the cloud's cache: no search; the repeated application counts as done.
  GoodsItem cached;
  ASSERT_EQ(QueryItemCache(ItemId(18), cached), kItemCached);
  EXPECT_EQ(cached.campaign.campaign_id, AlimamaStandIn::DirectedCampaignOf(18));
  const size_t searches_before = server_.Requests().size();
  ASSERT_EQ(ApplyHighestCommission(ItemId(18), best), kAlimamaOk);
  EXPECT_TRUE(Logged("成功获取佣金缓存：定向计划18, 23.5 %"));
  for (size_t i = searches_before; i < server_.Requests().size(); ++i) {
    EXPECT_NE(server_.Requests()[i].path, "/items/search.json");
  }
}

TEST_F(Campaigns, AJoinedCampaignIsNotAppliedForAgain) {
  CommissionCampaign best;
  ASSERT_EQ(ApplyHighestCommission(ItemId(10), best), kAlimamaOk);
  EXPECT_EQ(best.campaign_id, AlimamaStandIn::kAppliedCampaign);
  EXPECT_EQ(best.application_id, AlimamaStandIn::kApplicationId);
  EXPECT_TRUE(Logged("该定向高佣金计划状态为：已申请，无需再次申请"));
  EXPECT_TRUE(stand_in_.Applications().empty());
}

TEST_F(Campaigns, ACachedGeneralCommissionLeavesTheShopsJoinedCampaign) {
  CommissionCampaign best;  // item 2 is in the cloud's cache with its general commission
  ASSERT_EQ(ApplyHighestCommission(ItemId(2), best), kAlimamaOk);
  EXPECT_EQ(best.type, CommissionCampaign::kGeneral);
  EXPECT_TRUE(Logged("通用佣金无需申请"));
  EXPECT_TRUE(Logged("已退出该店铺之前申请过的定向计划“定向计划10”"));
  EXPECT_EQ(stand_in_.Exits(), std::vector<int64_t>{AlimamaStandIn::kApplicationId});
}

TEST_F(Campaigns, ChoiceRules) {
  const qint64 id = ItemId(30);  // not cached
  GoodsItem item;
  QList<CommissionCampaign> list;
  bool from_cache = true;
  // A tie goes to the later record.
  SearchAnswers(R"({"sellerId":2200000002,"tkRate":20.0,"eventRate":20.0})");
  ASSERT_EQ(FindHighestCommission(id, item, list, from_cache), kAlimamaOk);
  EXPECT_FALSE(from_cache);
  EXPECT_EQ(item.campaign.type, CommissionCampaign::kQueqiao);

  // An offer that needs the shop's approval is never chosen; the general one
  // wins and every earlier application in the list is left.
  SearchAnswers(R"({"sellerId":7,"tkRate":15.0,"tkSpecialCampaignIdRateMap":{"501":"45.00","502":"10.00"}})");
  ShopAnswers(R"({"exsitApplyList":[{"id":77,"campaignId":502}],"campaignList":[)"
              R"({"campaignId":501,"campaignName":"高佣","shopKeeperId":8,"properties":3},)"
              R"({"campaignId":502,"campaignName":"旧计划","shopKeeperId":8,"properties":1}]})");
  CommissionCampaign best;
  ASSERT_EQ(ApplyHighestCommission(ItemId(34), best), kAlimamaOk);
  EXPECT_EQ(best.type, CommissionCampaign::kGeneral);
  EXPECT_FLOAT_EQ(best.commission_rate, 15.0f);
  EXPECT_EQ(stand_in_.Exits(), std::vector<int64_t>{77});
  EXPECT_TRUE(Logged("已退出该店铺之前申请过的定向计划“旧计划”"));

  // No rate at all: nothing chosen.
  SearchAnswers(R"({"sellerId":7,"title":"x"})");
  ASSERT_EQ(ApplyHighestCommission(ItemId(38), best), kAlimamaRejected);
  EXPECT_TRUE(Logged("没有获取到最高佣金"));
}

TEST_F(Campaigns, ACachedRateOfZeroIsNoHitAndNoResultStopsQuietly) {
  GoodsItem zero;
  zero.item_id = ItemId(26);
  zero.campaign = {CommissionCampaign::kGeneral, 0, 0, QString::fromUtf8("通用"), 0.0f, false, 0};
  ASSERT_TRUE(UpdateItemCache(zero.item_id, zero));
  GoodsItem item;
  QList<CommissionCampaign> list;
  bool from_cache = true;
  ASSERT_EQ(FindHighestCommission(zero.item_id, item, list, from_cache), kAlimamaOk);
  EXPECT_FALSE(from_cache);
  EXPECT_GT(item.campaign.commission_rate, 0.0f);

  CommissionCampaign best;
  AppLog().Clear();
  EXPECT_EQ(ApplyHighestCommission(42, best), kAlimamaNoResult);
  EXPECT_FALSE(Logged("成功获取佣金"));
}

TEST_F(Campaigns, ApplyReplies) {
  const struct {
    const char* body;
    int result;
  } cases[] = {
      {R"({"ok":false,"info":{"message":"您已经申请过该计划"}})", kAlimamaOk},
      {R"({"ok":false,"info":{"message":"页面失效，请刷新"}})", kAlimamaTokenExpired},
      {R"({"ok":false,"info":{"message":"不符合条件"}})", kAlimamaRejected},
      {R"({"ok":false})", kAlimamaRejected},
      {R"({"ok":true})", kAlimamaOk},
      {R"({"ok":"true"})", kAlimamaUnrecognised},
  };
  for (const auto& c : cases) {
    ApplyAnswers(c.body);
    EXPECT_EQ(ApplyCampaign(1, 2), c.result) << c.body;
  }
  EXPECT_TRUE(Logged("申请佣金计划返回结果：{\"ok\":true}"));
  EXPECT_TRUE(Logged("token:e3b8f51a7d0c2"));
}

}  // namespace
}  // namespace prunko
