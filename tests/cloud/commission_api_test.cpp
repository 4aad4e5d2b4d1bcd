#include "cloud/commission_api.h"

#include <thread>
#include <vector>

#include "cloud_fixture.h"
#include "sandbox/reply_json.h"

namespace prunko {
namespace {

using sandbox::CloudStandIn;

constexpr qint64 kItem = 560100000000;  // the first seeded goods item

class CommissionApi : public test::CloudFixture {
 protected:
  void SetUp() override {
    CloudFixture::SetUp();
    LogIn();
  }
};

TEST_F(CommissionApi, SessionQueries) {
  const CloudResult by_user = QuerySessionByUser();
  EXPECT_EQ(by_user.code, CloudResult::kOk);
  EXPECT_EQ(by_user.message, QString::fromUtf8("获取授权成功"));
  TaobaoAuth auth = CurrentTaobaoAuth();
  EXPECT_EQ(auth.session_key, u"6100e23a9f0bd1c7sessiona");
  EXPECT_EQ(auth.taobao_user_id, u"2206581234");
  EXPECT_EQ(auth.taobao_user_nick, QString::fromUtf8("小鹿优选旗舰"));
  EXPECT_EQ(auth.auth_state, TaobaoAuth::kNotAuthorised);  // the window decides

  SetTaobaoAuth({});
  EXPECT_EQ(QuerySessionByMobile("13800138000").code, CloudResult::kOk);
  EXPECT_EQ(CurrentTaobaoAuth().session_key, u"6100e23a9f0bd1c7sessiona");

  const CloudResult none = QuerySessionByMobile("13900139000");
  EXPECT_EQ(none.code, CloudResult::kRefused);
  EXPECT_EQ(none.message, QString::fromUtf8("获取授权失败，该账号尚未授权淘宝"));
  EXPECT_EQ(CurrentTaobaoAuth().session_key, u"6100e23a9f0bd1c7sessiona");  // unchanged

  Answer(CloudStandIn::kAuthHost, "POST", "/tb-session/query", 200, R"({"status":200,"msg":"no key"})");
  EXPECT_EQ(QuerySessionByUser().message, QString::fromUtf8("获取授权失败，no key"));
  Answer(CloudStandIn::kAuthHost, "POST", "/tb-session/query", 200, R"({"status":"200"})");
  EXPECT_EQ(QuerySessionByUser().code, CloudResult::kBadReply);
  Unreachable(CloudStandIn::kAuthHost);
  const CloudResult down = QuerySessionByUser();
  EXPECT_EQ(down.code, CloudResult::kUnreachable);
  EXPECT_EQ(down.message, QString::fromUtf8("无法连接API服务器"));
}

TEST_F(CommissionApi, ItemInfo) {
  GoodsItem item;
  const CloudResult ok = GetItemInfo(kItem, item);
  EXPECT_EQ(ok.code, CloudResult::kOk);
  EXPECT_EQ(item.title, QString::fromUtf8("夏季新款纯棉短袖T恤"));
  EXPECT_EQ(item.is_tmall, GoodsItem::kTmall);
  EXPECT_FLOAT_EQ(item.price_original, 19.9f);
  EXPECT_TRUE(item.item_url.endsWith(u"id=560100000000"));
  EXPECT_TRUE(item.pic_url.endsWith(u"/bao/560100000000.jpg"));

  EXPECT_EQ(GetItemInfo(1, item).message, QString::fromUtf8("获取商品信息失败，商品不存在或已下架"));
  Answer(CloudStandIn::kCommissionHost, "POST", "/v1/get-item-info", 200, R"({"status":404,"item_info":{}})");
  EXPECT_EQ(GetItemInfo(kItem, item).message, QString::fromUtf8("获取商品信息失败,status error"));
}

TEST_F(CommissionApi, PrivilegeAndTheInvalidSession) {
  ASSERT_EQ(QuerySessionByUser().code, CloudResult::kOk);
  SetTaobaoAuthState(TaobaoAuth::kAuthorised);
  QString link;
  float rate = -1;
  const CloudResult ok = GetPrivilege(kItem, "mm_12_345_678", link, rate);
  EXPECT_EQ(ok.code, CloudResult::kOk);
  EXPECT_EQ(ok.message, QString::fromUtf8("申请高佣成功"));
  EXPECT_TRUE(link.startsWith(u"https://uland.taobao.test/coupon/edetail?e="));
  EXPECT_TRUE(link.endsWith(u"&pid=mm_12_345_678"));
  EXPECT_FLOAT_EQ(rate, 15.5f);

  Answer(CloudStandIn::kCommissionHost, "POST", "/v1/get-privilege", 200, R"({"status":200,"data":{"coupon_click_url":"u"}})");
  EXPECT_EQ(GetPrivilege(kItem, "mm_1_2_3", link, rate).code, CloudResult::kOk);
  EXPECT_EQ(rate, 0.0f);

  Answer(CloudStandIn::kCommissionHost, "POST", "/v1/get-privilege", 200, R"({"status":500,"msg":"invalid-sessionkey"})");
  const CloudResult invalid = GetPrivilege(kItem, "mm_1_2_3", link, rate);
  EXPECT_EQ(invalid.code, CloudResult::kRefused);
  EXPECT_EQ(invalid.message, QString::fromUtf8("申请高佣失败，invalid-sessionkey"));
  EXPECT_EQ(CurrentTaobaoAuth().auth_state, TaobaoAuth::kInvalid);
}

TEST_F(CommissionApi, TheBackupAnswersSilentlyWhenTheMainBaseIsDown) {
  ASSERT_EQ(QuerySessionByUser().code, CloudResult::kOk);
  Unreachable(CloudStandIn::kCommissionHost);
  QString link;
  float rate = 0;
  EXPECT_EQ(GetPrivilege(kItem, "mm_1_2_3", link, rate).code, CloudResult::kOk);
  EXPECT_FALSE(GetComboShortUrl("https://uland.taobao.test/coupon/edetail?e=1").isEmpty());
  EXPECT_EQ(server_.Requests().back().host, CloudStandIn::kBackupHost);
  // A bad reply from the main base does not switch.
  SetHttpSettings({});
  server_.RouteClient();
  Answer(CloudStandIn::kCommissionHost, "POST", "/v1/get-tkl", 500, "oops");
  EXPECT_EQ(GetTkl("https://a.test/x", "t", "p"), u"");
  EXPECT_EQ(server_.Requests().back().host, CloudStandIn::kCommissionHost);
  Unreachable(CloudStandIn::kCommissionHost);
  Unreachable(CloudStandIn::kBackupHost);
  EXPECT_EQ(GetPrivilege(kItem, "mm_1_2_3", link, rate).code, CloudResult::kUnreachable);
}

TEST_F(CommissionApi, ShortUrlsTaoPasswordsAndTheReport) {
  const QString long_url = QString::fromUtf8("https://uland.taobao.test/coupon/edetail?e=优惠&pid=mm_1_2_3");
  EXPECT_TRUE(GetComboShortUrl(long_url).startsWith(u"https://s.click.taobao.test/"));
  const QString tkl = GetTkl(long_url, QString::fromUtf8("夏季T恤 & 短裤"), "http://img.velmorind.test/bao/1.jpg");
  EXPECT_TRUE(tkl.startsWith(QString::fromUtf8("￥")) && tkl.endsWith(QString::fromUtf8("￥"))) << tkl.toStdString();
  const sandbox::RecordedRequest sent = server_.Requests().back();
  EXPECT_NE(sent.body.find("&text=%e5%a4%8f%e5%ad%a3T%e6%81%a4%20%26%20"), std::string::npos);

  PromotionReport r;
  r.pid = "mm_1_2_3";
  r.medium_type = QString::fromUtf8("微信群");
  r.medium_name = QString::fromUtf8("特价群");
  r.item_id = kItem;
  r.item_title = QString::fromUtf8("T恤 & 短裤");
  r.tb_command = tkl;
  ReportPromotion(r);
  const auto reports = stand_in_.Reports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].at("account"), "小鹿优选");
  EXPECT_EQ(reports[0].at("mediumType"), "微信群");
  EXPECT_EQ(reports[0].at("mediumId"), "-1");
  EXPECT_EQ(reports[0].at("memberNum"), "-1");
  EXPECT_EQ(reports[0].at("itemTitle"), "T恤 & 短裤");
  EXPECT_EQ(reports[0].at("time"), "2018-1-5 09:00:00");
  EXPECT_EQ(reports[0].at("user_id"), "1000001");
}

TEST_F(CommissionApi, TheServiceRejectsAWrongSign) {
  HttpResponse r;
  ASSERT_TRUE(HttpClient(QString()).Post(
      CurrentEndpoints().commission_api_base + "/get-item-info",
      "appkey=kwestal&token=tok-13800138000-7f3a&sign=0123456789abcdef0123456789abcdef&item_id=560100000000", {}, {},
      r));
  EXPECT_EQ(r.body_text.toStdString(), sandbox::StatusReply(403, "sign error"));
  ASSERT_TRUE(HttpClient(QString()).Post(CurrentEndpoints().commission_api_base + "/get-item-info",
                                         "appkey=kwestal&token=forged&item_id=1", {}, {}, r));
  EXPECT_EQ(r.body_text.toStdString(), sandbox::StatusReply(401, "token无效"));
}

TEST(TaobaoAuthRecord, ReadersSeeOneWholeSessionWhileItIsReplaced) {
  const TaobaoAuth a{"key-a", "uid-a", "nick-a", TaobaoAuth::kAuthorised};
  const TaobaoAuth b{"key-b", "uid-b", "nick-b", TaobaoAuth::kAuthorised};
  SetTaobaoAuth(a);
  std::thread writer([&] {
    for (int i = 0; i < 2000; ++i) SetTaobaoAuth(i % 2 ? a : b);
  });
  std::vector<std::thread> readers;
  for (int t = 0; t < 2; ++t) {
    readers.emplace_back([&] {
      for (int i = 0; i < 2000; ++i) {
        const TaobaoAuth seen = CurrentTaobaoAuth();
        ASSERT_TRUE(seen == a || seen == b);
      }
    });
  }
  writer.join();
  for (auto& r : readers) r.join();
  SetTaobaoAuth({});
}

}  // namespace
}  // namespace prunko
