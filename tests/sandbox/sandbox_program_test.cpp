#include <QProcess>

#include <gtest/gtest.h>

#include "alimama/link_conversion.h"
#include "cloud/account_login.h"
#include "cloud/account_session.h"
#include "core/app_config.h"
#include "net/endpoints.h"
#include "net/http_settings.h"
#include "support/test_support.h"

namespace prunko {
namespace {

// The sandbox program, as scripts/run starts it, serving a real login and a
// call over TLS to the client configured from the endpoints file it writes.
TEST(SandboxProgram, ServesTheClientThroughItsEndpointsFile) {
  test::TempFolder home;
  QProcess sandbox;
  sandbox.start(QStringLiteral(PRUNKO_SANDBOX_PROGRAM), {"--home", home.path()});
  ASSERT_TRUE(sandbox.waitForStarted(10000));
  // It announces the endpoints file once the file is in place.
  QByteArray said;
  while (!said.contains("endpoints in") && sandbox.waitForReadyRead(20000)) said += sandbox.readAllStandardOutput();
  ASSERT_TRUE(LoadEndpointsFile(home.File("endpoints.ini")));
  UpdateConfig([&](AppConfig& c) { c.config_path = home.File("config.cfg"); });

  EXPECT_TRUE(CloudLogin("13800138000", "abc123", true).success);
  EXPECT_EQ(CurrentAccount().user_id, 1000001);
  QString short_url;
  EXPECT_EQ(ShortenUrl("https://uland.taobao.test/coupon/edetail?e=1", short_url), 0);
  EXPECT_TRUE(short_url.startsWith(u"http://t.cn/"));

  sandbox.terminate();
  EXPECT_TRUE(sandbox.waitForFinished(10000));
  SetHttpSettings({});
  SetEndpoints(DefaultEndpoints());
  SetAccount({});
  ResetConfigRecord();
}

}  // namespace
}  // namespace prunko
