#include "cloud/item_cache.h"

#include "cloud/short_link.h"
#include "cloud/summary_site.h"
#include "cloud_fixture.h"

namespace prunko {
namespace {

using sandbox::CloudStandIn;

class ItemCache : public test::CloudFixture {
 protected:
  void SetUp() override {
    CloudFixture::SetUp();
    LogIn();
  }
};

TEST_F(ItemCache, QueryUpdateAndQueryAgain) {
  GoodsItem seeded;
  EXPECT_EQ(QueryItemCache(560100000000, seeded), kItemCached);
  EXPECT_EQ(seeded.title, QString::fromUtf8("夏季新款纯棉短袖T恤"));
  EXPECT_EQ(seeded.is_tmall, GoodsItem::kTmall);
  EXPECT_EQ(seeded.campaign.name, QString::fromUtf8("通用"));
  EXPECT_FLOAT_EQ(seeded.campaign.commission_rate, 10.0f);

  GoodsItem item;
  const qint64 id = 560100000000 + 40 * 7919;
  EXPECT_EQ(QueryItemCache(id, item), kItemNotCached);
  item.item_id = id;
  item.title = QString::fromUtf8("带\"引号\"和\\反斜杠的标题");
  item.shop_name = QString::fromUtf8("店");
  item.seller_id = 2200000001;
  item.is_tmall = GoodsItem::kTaobao;
  item.price_original = 59.9f;
  item.sales = 77;
  item.leaf_cate_id = 50010850;
  item.campaign = {CommissionCampaign::kDirected, 123456789, 987654, QString::fromUtf8("定向计划A"), 30.5f, true, 0};
  ASSERT_TRUE(UpdateItemCache(id, item));
  EXPECT_TRUE(AppLog().Text().contains(QString::fromUtf8("将商品信息进行缓存:%1").arg(id)));

  GoodsItem back;
  ASSERT_EQ(QueryItemCache(id, back), kItemCached);
  EXPECT_EQ(back.title, item.title);  // escaped on the way out, whole on the way back
  EXPECT_EQ(back.seller_id, item.seller_id);
  EXPECT_EQ(back.is_tmall, GoodsItem::kTaobao);
  EXPECT_FLOAT_EQ(back.price_original, 59.9f);
  EXPECT_EQ(back.sales, 77);
  EXPECT_EQ(back.leaf_cate_id, 50010850);
  EXPECT_EQ(back.campaign.campaign_id, 123456789);
  EXPECT_EQ(back.campaign.shop_keeper_id, 987654);
  EXPECT_EQ(back.campaign.name, QString::fromUtf8("定向计划A"));
  EXPECT_TRUE(back.campaign.need_audit);
  EXPECT_FLOAT_EQ(back.campaign.commission_rate, 30.5f);
}

TEST_F(ItemCache, RepliesThatAreNotUnderstood) {
  GoodsItem item;
  const struct {
    int status;
    const char* body;
    int result;
  } cases[] = {
      {200, R"({"status":404})", kItemCacheBadReply},  // 404 without "data"
      {200, R"({"status":500,"data":{}})", kItemCacheBadReply},
      {200, R"({"status":"200","data":{}})", kItemCacheBadReply},
      {200, "not json", kItemCacheBadReply},
      {404, R"({"status":404,"data":{}})", kItemNotCached},
  };
  for (const auto& c : cases) {
    Answer(CloudStandIn::kCacheHost, "POST", "/item/get-item-info", c.status, c.body);
    EXPECT_EQ(QueryItemCache(1, item), c.result) << c.body;
  }
  Unreachable(CloudStandIn::kCacheHost);
  EXPECT_EQ(QueryItemCache(1, item), kItemCacheUnreachable);
  EXPECT_FALSE(UpdateItemCache(1, item));
}

TEST_F(ItemCache, ShortLinks) {
  QString link = "untouched";
  EXPECT_EQ(MakeShortLink("https://item.taobao.test/item.htm?id=1", QString::fromUtf8("标题"), "p", 9.95f, 5, link),
            kShortLinkAnswered);
  EXPECT_TRUE(link.startsWith(u"http://s.velmorind.test/x/"));
  EXPECT_NE(server_.Requests().back().body.find("&price=9.9&coupon=5.0"), std::string::npos);
  LogIn({0, {}, {}, "forged", 1, {}});
  EXPECT_EQ(MakeShortLink("u", "t", "p", 1, 1, link), kShortLinkAnswered);
  EXPECT_EQ(link, u"");  // answered without a link
  Answer(CloudStandIn::kShortLinkHost, "POST", "/ajax/short", 200, R"({"status":1,"link":"x"})");
  EXPECT_EQ(MakeShortLink("u", "t", "p", 1, 1, link), kShortLinkBadReply);
  Unreachable(CloudStandIn::kShortLinkHost);
  EXPECT_EQ(MakeShortLink("u", "t", "p", 1, 1, link), kShortLinkUnreachable);
}

TEST_F(ItemCache, SummarySiteUploads) {
  server_.RouteClientHost("lflt.site.velmorind.test");
  GoodsItem item;
  item.item_id = 560100000000;
  item.title = QString::fromUtf8("T恤 \"爆款\"");
  item.desc = QString::fromUtf8("介绍");
  item.price_original = 19.9f;
  item.price_discount = 14.9f;
  EXPECT_TRUE(UploadToSummarySite(item, QString::fromUtf8("￥AbCd￥")));
  ASSERT_EQ(stand_in_.SummaryUploads().size(), 1u);
  const std::string data = stand_in_.SummaryUploads()[0];
  EXPECT_EQ(data.rfind(R"({"user_id":1000001,"item_id":"560100000000","activity_id":"",)", 0), 0u) << data;
  EXPECT_NE(data.find(R"("title":"T恤 \"爆款\"")"), std::string::npos);
  EXPECT_NE(data.find(R"("price_org":19.90,"price_discount":14.90,)"), std::string::npos);
  EXPECT_TRUE(AppLog().Text().contains(QString::fromUtf8("准备上传商品到每日汇总网站")));
  EXPECT_TRUE(AppLog().Text().contains(QString::fromUtf8("上传商品到每日汇总网站成功")));

  // A site that answers with a refusal still counts as answered.
  LogIn({1000002, {}, {}, "tok-13900139000-41c9", 1, "http://lflt.site.velmorind.test"});
  EXPECT_TRUE(UploadToSummarySite(item, {}));
  EXPECT_TRUE(AppLog().Text().contains(QString::fromUtf8("上传商品失败，站点与账号不符")));
  server_.Handle(CloudStandIn::kSummarySites, "POST", "/upload", sandbox::Reply(200, R"({"status":403})"));
  EXPECT_TRUE(UploadToSummarySite(item, {}));
  EXPECT_TRUE(AppLog().Text().contains(QString::fromUtf8("上传商品失败，未知错误")));
  server_.Handle(CloudStandIn::kSummarySites, "POST", "/upload", sandbox::Reply(200, "<html>"));
  EXPECT_FALSE(UploadToSummarySite(item, {}));
  EXPECT_TRUE(AppLog().Text().contains(QString::fromUtf8("网络错误，上传商品到每日汇总网站返回数据错误")));
  Unreachable("lflt.site.velmorind.test");
  EXPECT_FALSE(UploadToSummarySite(item, {}));
  EXPECT_TRUE(AppLog().Text().contains(QString::fromUtf8("网络错误，上传商品到每日汇总网站失败")));
}

}  // namespace
}  // namespace prunko
