#include "cloud/account_login.h"

#include "cloud_fixture.h"
#include "core/config_file.h"
#include "core/ini_file.h"

namespace prunko {
namespace {

using sandbox::CloudStandIn;

class AccountLogin : public test::CloudFixture {};

TEST_F(AccountLogin, SuccessFillsTheSessionAndRemembersTheCredentials) {
  const LoginOutcome outcome = CloudLogin("13800138000", "abc123", true);
  EXPECT_TRUE(outcome.success);
  EXPECT_EQ(outcome.tip, QString::fromUtf8("登录成功！"));
  const AccountSession a = CurrentAccount();
  EXPECT_EQ(a.user_id, 1000001);
  EXPECT_EQ(a.nickname, QString::fromUtf8("小鹿优选"));
  EXPECT_EQ(a.mobile, u"13800138000");
  EXPECT_EQ(a.auth_token, u"tok-13800138000-7f3a");
  EXPECT_EQ(a.privilege_mode, 2);
  EXPECT_EQ(a.summary_site_url, u"http://lflt.site.velmorind.test");
  EXPECT_EQ(CurrentConfig().username, u"13800138000");
  const IniFile saved(dir_.File("config.cfg"));
  EXPECT_EQ(saved.ReadString(u"Velmorind", u"password"), u"\\ZMmPWL}@@@");

  // Without "remember" the password is forgotten and the mobile kept.
  UpdateConfig([](AppConfig& c) { c.username = "kept"; });
  ASSERT_TRUE(CloudLogin("13900139000", "p&ss=w0rd", false).success);  // "&" and "=" arrive intact
  EXPECT_EQ(CurrentConfig().username, u"kept");
  EXPECT_EQ(CurrentConfig().password, u"");
  EXPECT_EQ(IniFile(dir_.File("config.cfg")).ReadString(u"Velmorind", u"username"), u"kept");
  EXPECT_EQ(CurrentAccount().privilege_mode, 1);
  const sandbox::RecordedRequest login = server_.Requests().back();
  EXPECT_EQ(login.target, "/v1/auth/login?v=1.59&f=prunko");
  EXPECT_EQ(login.body, "appkey=kwestal&mobile=13900139000&pwd=p%26ss%3dw0rd");
}

TEST_F(AccountLogin, FailuresKeepTheWindowOpenAndTheStoredCredentials) {
  UpdateConfig([](AppConfig& c) {
    c.username = "old";
    c.password = "oldpw";
  });
  const struct {
    const char* reply;  // null: the seeded service answers
    const char* mobile;
    const char* tip;
  } cases[] = {
      {nullptr, "13800138000", "输入的Velmorind账号或者密码错误！忘了请去官网找回吧！"},
      {nullptr, "13700137000", "登录失败，账号已被冻结，请联系客服"},
      {R"({"status":400,"msg":"x"})", "1", "登录失败，软件APPKEY未经授权！"},
      {R"({"status":"200","auth_token":"t"})", "1", "网络错误，登录返回Json数据异常，请稍候再试！"},
      {R"([200])", "1", "网络错误，登录返回Json数据异常，请稍候再试！"},
      {R"({"status":200,"auth_token":5})", "1", "登录失败，没有接受到Velmorind服务器的认证令牌"},
      {R"({"status":502})", "1", "登录失败，未知错误码：502"},
  };
  for (const auto& c : cases) {
    if (c.reply) Answer(CloudStandIn::kApiHost, "POST", "/v1/auth/login", 200, c.reply);
    const LoginOutcome outcome = CloudLogin(c.mobile, c.mobile == std::string("13700137000") ? "frozen" : "bad", true);
    EXPECT_FALSE(outcome.success) << c.tip;
    EXPECT_FALSE(outcome.show_box);
    EXPECT_EQ(outcome.tip, QString::fromUtf8(c.tip));
  }
  EXPECT_EQ(CurrentConfig().username, u"old");
  EXPECT_EQ(CurrentConfig().password, u"oldpw");
  EXPECT_EQ(CurrentAccount(), AccountSession{});
}

TEST_F(AccountLogin, NoUserIdMeansUserZero) {
  Answer(CloudStandIn::kApiHost, "POST", "/v1/auth/login", 200, R"({"status":200,"auth_token":"t","user_id":"9"})");
  ASSERT_TRUE(CloudLogin("1", "x", false).success);
  EXPECT_EQ(CurrentAccount().user_id, 0);
  EXPECT_EQ(CurrentAccount().summary_site_url, u"http://0.site.velmorind.test");
  EXPECT_EQ(SummarySiteUrl(-5, ".s.test"), u"http://1z141yz.s.test");  // the low 32 bits, unsigned
}

TEST_F(AccountLogin, AnUnreachableServiceShowsTheWarningBox) {
  Unreachable(CloudStandIn::kApiHost);
  const LoginOutcome outcome = CloudLogin("13800138000", "abc123", true);
  EXPECT_FALSE(outcome.success);
  EXPECT_TRUE(outcome.show_box);
  EXPECT_EQ(outcome.tip, QString::fromUtf8("网络错误，无法连接Velmorind服务器，请稍候再试！"));
  EXPECT_EQ(outcome.box_caption, QString::fromUtf8("连接Velmorind服务器失败"));
  EXPECT_EQ(outcome.box_text, QString::fromUtf8("网络错误，无法连接Velmorind服务器，请稍候再试！\r\n\r\n错误码："
                                                "ThreadHttpSendRequest error. ErrCode=[12029]\r\n\r\n"
                                                "解决方法：尝试重启路由器和猫"));
}

}  // namespace
}  // namespace prunko
