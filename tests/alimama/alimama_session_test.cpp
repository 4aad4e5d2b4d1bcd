#include "alimama/alimama_session.h"

#include "alimama/login_state.h"
#include "alimama_fixture.h"
#include "net/cookie_store.h"

namespace prunko {
namespace {

using sandbox::AlimamaStandIn;
using Misbehaviour = sandbox::AlimamaStandIn::Misbehaviour;

class AlimamaSessionTest : public test::AlimamaFixture {};

TEST(SetRequestInterval, KeepsBetweenThreeAndThirtySeconds) {
  const struct {
    int seconds;
    int ms;
  } cases[] = {{0, 3000}, {-4, 3000}, {3, 3000}, {10, 10000}, {30, 30000}, {55, 30000}};
  for (const auto& c : cases) {
    SetRequestInterval(c.seconds);
    EXPECT_EQ(CurrentAlimamaSession().requestIntervalMs, c.ms) << c.seconds;
  }
  SetAlimamaSession({});
}

TEST(PacingPause, SleepsTheTickRemainderPlusTheInterval) {
  FakeClock clock;
  ScopedClock use(clock);
  clock.Advance(7250);
  SetRequestInterval(10);
  PacingPause();
  EXPECT_EQ(clock.Sleeps(), std::vector<qint64>{1250 + 10000});
  SetAlimamaSession({});
}

TEST_F(AlimamaSessionTest, ClassifyReplyTestsInItsOrder) {
  const QByteArray busy = WideToAnsi(u"…我们就算忙到挂水也要让你进去…");
  const struct {
    const char* location;
    int status;
    QByteArray body;
    int result;
  } cases[] = {
      {"http://sec.taobao.test/deny.html?x=1", 200, busy, kAlimamaDenied},  // the redirect comes first
      {"http://media.alimama.test/user/limit_status.htm", 200, "", kAlimamaNotVerified},
      {"", 404, busy, kAlimamaBusy},
      {"", 404, "<iframe id=\"taobaoLoginIfr\">", kAlimamaBadReply},  // the status before the login page
      {"", 200, "<iframe id=\"taobaoLoginIfr\">", kAlimamaNotLoggedIn},
      {"", 500, "<html>oops</html>", kAlimamaUnrecognised},
  };
  for (const auto& c : cases) {
    HttpResponse r;
    r.final_location = c.location;
    r.status_code = c.status;
    r.body_text = c.body;
    EXPECT_EQ(ClassifyReply(r), c.result) << c.location << " " << c.status;
  }
  EXPECT_TRUE(AppLog().Text().contains(u"location:http://sec.taobao.test/deny.html?x=1"));
}

TEST_F(AlimamaSessionTest, CaptureTakesTheBrowsersCookies) {
  BrowserCookieStore& store = BrowserCookies();
  store.Clear();
  QString status;
  EXPECT_FALSE(CaptureSession(status));
  EXPECT_EQ(status, QString::fromUtf8("状态：无法取到cookie无效，无法取到cookie或token"));

  store.Set({".alimama.test", "/", "cookie2", "1c2d3e4f5a6b", false, true});
  EXPECT_FALSE(CaptureSession(status));  // a cookie without its token
  store.Set({".alimama.test", "/", "_tb_token_", AlimamaStandIn::kToken, false, false});
  store.Set({".taobao.test", "/", "_m_h5_tk", "abc_123", false, false});
  ASSERT_TRUE(CaptureSession(status));
  const AlimamaSession s = CurrentAlimamaSession();
  EXPECT_EQ(s.cookie, QStringLiteral("cookie2=1c2d3e4f5a6b; _tb_token_=") + AlimamaStandIn::kToken);
  EXPECT_EQ(s.tbToken, AlimamaStandIn::kToken);
  EXPECT_EQ(s.taobaoCookie, u"_m_h5_tk=abc_123");

  // A later failed capture keeps the last session but logs out.
  SetAlimamaLoggedIn(true);
  store.Clear();
  EXPECT_FALSE(CaptureSession(status));
  EXPECT_EQ(CurrentAlimamaSession().tbToken, AlimamaStandIn::kToken);
  EXPECT_FALSE(CurrentAlimamaSession().loggedIn);
}

TEST_F(AlimamaSessionTest, LoginChecksAgainstTheSite) {
  qint64 member = 0;
  QString nick;
  EXPECT_EQ(GetLogInfo(member, nick), kAlimamaNotLoggedIn);
  EXPECT_EQ(GetUnionPubContextInfo(member, nick), kAlimamaNotLoggedIn);
  UseLoggedInCookie();
  EXPECT_EQ(GetLogInfo(member, nick), kAlimamaOk);
  EXPECT_EQ(member, AlimamaStandIn::kMemberId);
  EXPECT_EQ(nick, QString::fromUtf8(AlimamaStandIn::kNick));  // from doubled backslash-u escapes
  EXPECT_EQ(server_.Requests().back().Header("Referer"), "http://www.alimama.test/index.htm");
  member = 0;
  nick.clear();
  EXPECT_EQ(GetUnionPubContextInfo(member, nick), kAlimamaOk);
  EXPECT_EQ(member, AlimamaStandIn::kMemberId);
  EXPECT_EQ(nick, QString::fromUtf8(AlimamaStandIn::kNick));

  // A getLogInfo reply whose nick the expression does not accept.
  server_.Handle(AlimamaStandIn::kHomeHost, "GET", "/getLogInfo.htm",
                 sandbox::Reply(200, R"(__jp0({"success":true,"data":{"memberID":99,"nickName":""}}))"));
  member = 1;
  nick = "kept";
  EXPECT_EQ(GetLogInfo(member, nick), kAlimamaOk);
  EXPECT_EQ(member, 1);
  EXPECT_EQ(nick, u"kept");
  server_.Handle(AlimamaStandIn::kHomeHost, "GET", "/getLogInfo.htm", sandbox::Reply(200, "__jp0({})"));
  EXPECT_EQ(GetLogInfo(member, nick), kAlimamaBadReply);
  server_.Handle(AlimamaStandIn::kPubHost, "GET", "/common/getUnionPubContextInfo.json",
                 sandbox::Reply(200, R"({"data":{"memberid":1}})"));
  EXPECT_EQ(GetUnionPubContextInfo(member, nick), kAlimamaBadReply);
}

TEST_F(AlimamaSessionTest, ConfirmLoginState) {
  QString status;
  UseLoggedInCookie();
  EXPECT_TRUE(ConfirmLoginState(status));
  EXPECT_EQ(status, QString::fromUtf8("状态：阿里妈妈登录成功"));
  EXPECT_TRUE(CurrentAlimamaSession().loggedIn);
  EXPECT_EQ(CurrentAlimamaSession().memberId, AlimamaStandIn::kMemberId);

  // Two inconclusive answers leave the state as it was.
  stand_in_.SetMisbehaviour(Misbehaviour::kBusy);
  EXPECT_TRUE(ConfirmLoginState(status));
  EXPECT_EQ(status, QString::fromUtf8("状态：阿里妈妈登录状态等待再次确认，返回码：2"));
  EXPECT_TRUE(CurrentAlimamaSession().loggedIn);

  // A "not logged in" from either check wins.
  stand_in_.SetMisbehaviour(Misbehaviour::kNone);
  server_.Handle(AlimamaStandIn::kHomeHost, "GET", "/getLogInfo.htm", sandbox::Reply(200, R"(__jp0({"success":false}))"));
  EXPECT_FALSE(ConfirmLoginState(status));
  EXPECT_EQ(status, QString::fromUtf8("状态：登录无效，用户信息获取失败"));
  EXPECT_FALSE(CurrentAlimamaSession().loggedIn);
  EXPECT_TRUE(AppLog().Text().contains(QString::fromUtf8("【阿里妈妈登录状态失效：5】")));
}

}  // namespace
}  // namespace prunko
