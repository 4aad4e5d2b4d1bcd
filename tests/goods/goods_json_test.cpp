#include "goods/goods_json.h"

#include <gtest/gtest.h>

#include "core/file_util.h"
#include "support/test_support.h"

namespace prunko {
namespace {

GoodsItem ReadOne(const QByteArray& object_json) {
  const auto list = GoodsListFromJson("{\"status\":200,\"data\":[" + object_json + "]}");
  EXPECT_TRUE(list.has_value());
  EXPECT_EQ(list->size(), 1);
  return list->value(0);
}

GoodsItem Sample() {
  GoodsItem g;
  g.item_id = 560123456789;
  g.activity_id = "a1b2c3";
  g.title = QString::fromUtf8("夏季\"纯棉\"T恤 \\ 男");
  g.desc = QString::fromUtf8("透气舒适");
  g.pic_url = "https://img.alicdn.test/bao/1.jpg";
  g.pic_url_2 = "https://img.alicdn.test/bao/2.jpg";
  g.item_url = "https://item.taobao.test/item.htm?id=560123456789";
  g.coupon_url = "https://uland.taobao.test/coupon/edetail?e=xyz";
  g.me_code = "me123";
  g.post_free = 0;
  g.price_original = 59.9f;
  g.price_discount = 39.9f;
  g.is_tmall = GoodsItem::kTaobao;
  g.shop_name = QString::fromUtf8("小店");
  g.sales = 1234;
  g.coupon_start_fee = 50;
  g.coupon_fee = 20;
  g.coupon_count = 1000;
  g.coupon_surplus = 800;
  g.coupon_expire = "2018-01-31";
  g.campaign.commission_rate = 20.5f;
  return g;
}

TEST(GoodsJson, WritesMembersInTheFileOrder) {
  EXPECT_EQ(GoodsToJson(Sample()),
            QString::fromUtf8(
                R"({"item_id":"560123456789","activity_id":"a1b2c3","title":"夏季\"纯棉\"T恤 \\ 男",)"
                R"("desc":"透气舒适","item_url":"https://item.taobao.test/item.htm?id=560123456789",)"
                R"("pic_url":"https://img.alicdn.test/bao/1.jpg","pic_url_2":"https://img.alicdn.test/bao/2.jpg",)"
                R"("coupon_url":"https://uland.taobao.test/coupon/edetail?e=xyz","is_tmall":"False",)"
                R"("shop_name":"小店","post_free":"0","price_original":"59.9","price_discount":"39.9",)"
                R"("sales":"1234","tk_rate":"20.5","me_code":"me123","coupon_start_fee":"50.0",)"
                R"("coupon_fee":"20.0","coupon_count":"1000","coupon_surplus":"800","coupon_expire":"2018-01-31"})"));
  EXPECT_EQ(GoodsListToJson({}), u"{\"status\":200,\"data\":[]}");
  EXPECT_EQ(GoodsListFromJson("{\"status\":200,\"data\":[]}"), QList<GoodsItem>{});
}

TEST(GoodsJson, RoundTripKeepsExactlyTheSavedFields) {
  GoodsItem g = Sample();
  g.price_original = 4.55f;  // one decimal survives
  g.title += QString::fromUtf8("\t控制\x01字符");
  const GoodsItem saved = g;
  g.pool_key = 7;
  g.nickname = "seller";
  g.coupon_total = 1000;
  g.local_pic_path = "/tmp/p.jpg";
  g.seller_id = 11;
  g.leaf_cate_id = 12;
  g.campaign = {CommissionCampaign::kDirected, 99, 98, QString::fromUtf8("定向"), 20.5f, true, 97};
  g.send_status = GoodsItem::kSent;
  g.send_status_text = "ok";

  const GoodsItem back = ReadOne(GoodsToJson(g).toUtf8());
  GoodsItem expected = saved;
  expected.price_original = back.price_original;
  EXPECT_NEAR(back.price_original, 4.55, 0.051);
  EXPECT_EQ(back, expected);
}

TEST(GoodsJson, ReadingRules) {
  const GoodsItem lower = ReadOne(R"({"item_id":"1","is_tmall":"false"})");
  EXPECT_EQ(lower.is_tmall, GoodsItem::kTmall);  // only "False" means Taobao
  EXPECT_EQ(lower.post_free, 1);                 // missing: free shipping
  EXPECT_EQ(lower.title, u"");
  EXPECT_EQ(lower.shop_name, u"");
  EXPECT_EQ(ReadOne(R"({"item_id":"1","is_tmall":"False","post_free":"0"})").is_tmall, GoodsItem::kTaobao);
  EXPECT_EQ(ReadOne(R"({"item_id":"abc"})").item_id, 0);
  EXPECT_EQ(ReadOne(R"({"item_id":"12ab"})").item_id, 12);

  // Values of the wrong type read as 0 or empty.
  const GoodsItem typed = ReadOne(
      R"({"item_id":123,"title":5,"pic_url_2":7,"post_free":0,"price_original":9.9,"sales":"12x","tk_rate":"3.25"})");
  EXPECT_EQ(typed.item_id, 0);
  EXPECT_EQ(typed.title, u"");
  EXPECT_EQ(typed.pic_url_2, u"");
  EXPECT_EQ(typed.post_free, 0);
  EXPECT_EQ(typed.price_original, 0.0f);
  EXPECT_EQ(typed.sales, 12);
  EXPECT_FLOAT_EQ(typed.campaign.commission_rate, 3.25f);
}

TEST(GoodsJson, ListSkipsWhatIsNoGoodsAndRejectsWhatIsNoDocument) {
  const auto list = GoodsListFromJson(R"({"status":200,"data":[{"item_id":"1"},3,{"title":"x"},{"item_id":"2"}]})");
  ASSERT_TRUE(list.has_value());
  ASSERT_EQ(list->size(), 2);
  EXPECT_EQ((*list)[1].item_id, 2);
  for (const QByteArray bad : {"", "[]", "{\"data\":{}}", "{\"status\":200}", "{\"data\":[", "nul"}) {
    EXPECT_FALSE(GoodsListFromJson(bad).has_value()) << bad.toStdString();
  }
}

TEST(GoodsJson, PoolFileSurvivesADoubleByteCodePage) {
  test::ScopedAnsiCodePage gbk("GBK");
  ASSERT_TRUE(gbk.ok());
  test::TempFolder dir;
  GoodsItem g = Sample();
  g.title = QString::fromUtf8("淺色\\款");  // 淺 ends in the byte 0x5C in GBK
  const QList<GoodsItem> items{g, Sample()};
  ASSERT_TRUE(WriteTextFile(dir.File("goods_source_list.txt"), GoodsListToJson(items)));
  QByteArray bytes;
  ASSERT_TRUE(ReadFileBytes(dir.File("goods_source_list.txt"), bytes));
  EXPECT_TRUE(bytes.contains("\x9C\\"));  // 淺 as GBK bytes
  EXPECT_EQ(GoodsListFromJson(bytes), items);
  // \u escapes from a server come out as their characters too.
  EXPECT_EQ(ReadOne(R"({"item_id":"1","title":"\u6dfa"})").title, QString::fromUtf8("淺"));
}

}  // namespace
}  // namespace prunko
