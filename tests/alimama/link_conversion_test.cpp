#include "alimama/link_conversion.h"

#include <QUrlQuery>

#include "alimama_fixture.h"
#include "core/digest.h"

namespace prunko {
namespace {

using sandbox::AlimamaStandIn;

qint64 ItemId(int index) { return test::Seeded(index).item_id; }

class LinkConversion : public test::AlimamaFixture {
 protected:
  void SetUp() override {
    AlimamaFixture::SetUp();
    UseLoggedInCookie();
    SetAlimamaTaobaoCookie("tracknick=abc; t=123");
  }
  std::vector<sandbox::RecordedRequest> GatewayRequests() const {
    std::vector<sandbox::RecordedRequest> found;
    for (const auto& r : server_.Requests()) {
      if (r.host == AlimamaStandIn::kH5Gateway) found.push_back(r);
    }
    return found;
  }
  static QString Param(const sandbox::RecordedRequest& r, const char* key) {
    const QString target = QString::fromStdString(r.target);
    return QUrlQuery(target.mid(target.indexOf(u'?') + 1)).queryItemValue(key, QUrl::FullyDecoded);
  }
};

TEST(Pid, SiteAndAdzone) {
  QString site, adzone;
  ASSERT_TRUE(ParsePid("mm_12_345_678", site, adzone));
  EXPECT_EQ(site, u"345");
  EXPECT_EQ(adzone, u"678");
  ASSERT_TRUE(ParsePid(QString::fromUtf8("推广位 mm_1_22_333 备注"), site, adzone));
  EXPECT_EQ(adzone, u"333");
  EXPECT_FALSE(ParsePid("12_345_678", site, adzone));
  QString password = "kept", link = "kept";
  EXPECT_EQ(GetAuctionCode(1, "12_345_678", password, link), kAlimamaUnrecognised);
  EXPECT_EQ(UrlTransForOfficial("mm_x", "http://a.test", password, link), kAlimamaUnrecognised);
}

TEST_F(LinkConversion, AffiliateLinksThroughThePublisherSite) {
  QString password, link;
  ASSERT_EQ(GetAuctionCode(ItemId(0), "mm_12_345_678", password, link), kAlimamaOk);
  EXPECT_TRUE(password.startsWith(QString::fromUtf8("￥")));
  EXPECT_TRUE(link.startsWith(u"https://s.click.taobao.test/"));
  const sandbox::RecordedRequest sent = server_.Requests().back();
  EXPECT_NE(sent.target.find("auctionid=" + std::to_string(ItemId(0)) + "&siteid=345&adzoneid=678&scenes=1&t="),
            std::string::npos);
  EXPECT_NE(sent.target.find(std::string("&_tb_token_=") + AlimamaStandIn::kToken), std::string::npos);
  EXPECT_EQ(sent.Header("Referer"), "http://pub.alimama.test");

  QString address;
  ASSERT_EQ(ResolveTaoPassword(password, address), kAlimamaOk);
  EXPECT_EQ(address, QStringLiteral("https://item.taobao.test/item.htm?id=%1&pid=mm_12345678_345_678").arg(ItemId(0)));

  const QString coupon = QString::fromUtf8("https://uland.taobao.test/coupon/edetail?e=券&x=1");
  ASSERT_EQ(UrlTransForOfficial("mm_12_345_678", coupon, password, link), kAlimamaOk);
  ASSERT_EQ(ResolveTaoPassword(password, address), kAlimamaOk);
  EXPECT_EQ(address, coupon + "&pid=mm_12345678_345_678");

  server_.Handle(AlimamaStandIn::kPubHost, "GET", "/common/code/getAuctionCode.json",
                 sandbox::Reply(200, R"({"data":{"taoToken":"￥abc￥"}})", "application/json"));
  link = "kept";
  ASSERT_EQ(GetAuctionCode(1, "mm_1_2_3", password, link), kAlimamaOk);
  EXPECT_EQ(link, u"kept");  // no short link in the reply
  server_.Handle(AlimamaStandIn::kPubHost, "GET", "/common/code/getAuctionCode.json",
                 sandbox::Reply(200, R"({"data":{"taoToken":5}})", "application/json"));
  EXPECT_EQ(GetAuctionCode(1, "mm_1_2_3", password, link), kAlimamaBadReply);
  SetAlimamaCookie("cookie2=expired", "old");
  EXPECT_EQ(UrlTransForOfficial("mm_1_2_3", coupon, password, link), kAlimamaNotLoggedIn);
}

TEST_F(LinkConversion, GatewayCallsAreSignedOverTheUnencodedData) {
  QString password;
  const QString address = QString::fromUtf8("https://uland.taobao.test/coupon/edetail?e=\"引号\"");
  ASSERT_EQ(CreateTaoPassword(address, QString(), QString(), password), kAlimamaOk);
  ASSERT_FALSE(password.isEmpty());
  // Each Get is preceded by the client's redirect probe: the token request
  // is the second, the call the fourth.
  const auto calls_with_probes = GatewayRequests();
  ASSERT_EQ(calls_with_probes.size(), 4u);
  const std::vector<sandbox::RecordedRequest> calls{calls_with_probes[1], calls_with_probes[3]};
  EXPECT_EQ(calls[0].Header("Cookie"), "tracknick=abc; t=123");
  const QString data = Param(calls[1], "data");
  EXPECT_TRUE(data.contains(QString::fromUtf8("\"pwdText\":\"一张内部有优惠券\"")));
  EXPECT_TRUE(data.contains(u"\"pwdPicUrl\":\"https://img.velmorind.test/tps/i3/T1OjaVFl4dXXa.JOZB-114-114.png\""));
  EXPECT_TRUE(data.contains(QString::fromUtf8("e=\\\"引号\\\"")));  // escaped, so the data stays JSON
  const std::string cookie = calls[1].Header("Cookie");
  const std::string token = cookie.substr(9, cookie.find('_', 9) - 9);
  EXPECT_EQ(Param(calls[1], "sign"),
            Md5HexUtf8(QString::fromStdString(token) + u'&' + Param(calls[1], "t") + QStringLiteral("&30691825&") + data));
  EXPECT_EQ(cookie.rfind("_m_h5_tk=", 0), 0u);
  EXPECT_NE(cookie.find(";_m_h5_tk_enc=5c7d2a0e;tracknick=abc; t=123"), std::string::npos);
  EXPECT_EQ(cookie.find("cookie2="), std::string::npos);  // the Alimama session stays home

  QString back;
  ASSERT_EQ(ResolveTaoPassword(password, back), kAlimamaOk);
  EXPECT_EQ(back, address);
  EXPECT_EQ(GatewayRequests().back().Header("Cookie").find("tracknick"), std::string::npos);
}

TEST_F(LinkConversion, ATokenCookieWithoutAnUnderscoreEndsTheCall) {
  server_.Handle(AlimamaStandIn::kH5Gateway, "GET", "/h5/mtop.taobao.wireless.share.password.get/1.0/",
                 sandbox::WithCookies({"_m_h5_tk=abcdef; Path=/"}, sandbox::Reply(200, "{}", "application/json")));
  HttpResponse r;
  EXPECT_EQ(MtopCall(r, false, "mtop.taobao.wireless.share.password.get", "", "{}"), kAlimamaBadReply);
  EXPECT_EQ(GatewayRequests().size(), 2u);  // the token request and its redirect probe
  QString address = "kept";
  EXPECT_EQ(ResolveTaoPassword(QString::fromUtf8("￥x￥"), address), kAlimamaBadReply);
}

TEST_F(LinkConversion, ItemInfoThroughTheGateway) {
  const sandbox::SeedGoods& s = test::Seeded(4);
  GoodsItem item;
  QList<CommissionCampaign> campaigns;
  ASSERT_EQ(GetItemInfoH5(s.item_id, item, campaigns), kAlimamaOk);
  EXPECT_EQ(item.title, QString::fromStdString(s.title));
  EXPECT_EQ(item.item_url, QStringLiteral("http://item.taobao.test/item.htm?id=%1").arg(s.item_id));  // "//" made http:
  EXPECT_EQ(item.is_tmall, GoodsItem::kTmall);
  EXPECT_EQ(item.sales, s.sales);
  ASSERT_EQ(campaigns.size(), 2);
  EXPECT_EQ(campaigns[0].name, QString::fromUtf8("通用"));
  EXPECT_EQ(item.campaign.type, CommissionCampaign::kQueqiao);  // the higher rate

  GoodsItem holding;
  holding.campaign.commission_rate = 90;  // the comparison starts from what the item holds
  QList<CommissionCampaign> more;
  ASSERT_EQ(GetItemInfoH5(s.item_id, holding, more), kAlimamaOk);
  EXPECT_FLOAT_EQ(holding.campaign.commission_rate, 90.0f);

  server_.Handle(AlimamaStandIn::kH5Gateway, "GET", "/h5/mtop.alimama.moon.provider.edetail.iteminfo.get/1.0/",
                 [](const httplib::Request& req, httplib::Response& res) {
                   if (!req.has_param("sign")) res.headers.emplace("Set-Cookie", "_m_h5_tk=t_1");
                   res.set_content(R"({"data":{"rawUrl":"https://detail.tmall.test/item.htm?id=1","biz30Day":"12.9"}})",
                                   "application/json");
                 });
  GoodsItem https;
  ASSERT_EQ(GetItemInfoH5(1, https, more), kAlimamaOk);
  EXPECT_EQ(https.item_url, u"https://detail.tmall.test/item.htm?id=1");
  EXPECT_EQ(https.sales, 12);
}

TEST_F(LinkConversion, MicroblogShortUrls) {
  sandbox::StandInServer tls(sandbox::StandInServer::Scheme::kHttps);
  AlimamaStandIn::RouteShortUrlApi(tls);
  ASSERT_TRUE(tls.Start());
  tls.RouteClient();
  QString short_url;
  ASSERT_EQ(ShortenUrl(QString::fromUtf8("https://uland.taobao.test/coupon/edetail?e=券&pid=mm_1_2_3"), short_url),
            kAlimamaOk);
  EXPECT_TRUE(short_url.startsWith(u"http://t.cn/"));
  EXPECT_EQ(ShortenUrl(QString(), short_url), kAlimamaBadReply);  // an empty "urls"
  tls.Stop();
  EXPECT_EQ(ShortenUrl("https://x.test/", short_url), kAlimamaNetworkError);
}

}  // namespace
}  // namespace prunko
