#include "net/endpoints.h"

#include <gtest/gtest.h>

#include "net/http_settings.h"
#include "support/test_support.h"

namespace prunko {
namespace {

TEST(Endpoints, FileOverridesDefaultsAndMapsHosts) {
  test::TempFolder dir;
  EXPECT_FALSE(LoadEndpointsFile(dir.File("endpoints.ini")));
  EXPECT_EQ(CurrentEndpoints(), DefaultEndpoints());
  EXPECT_EQ(DefaultEndpoints().alimama_pub_host, u"pub.alimama.com");

  test::WriteAll(dir.File("endpoints.ini"),
                 "[Endpoints]\r\nalimama_pub_host=pub.alimama.test\r\ncloud_api_base=http://api.velmorind.test\r\n"
                 "[ConnectTo]\r\npub.alimama.test=127.0.0.1:18080\r\napi.velmorind.test=127.0.0.1:18081\r\n"
                 "[Http]\r\nca_file=/tmp/sandbox-ca.pem\r\n");
  const HttpSettings before = CurrentHttpSettings();
  ASSERT_TRUE(LoadEndpointsFile(dir.File("endpoints.ini")));
  const Endpoints e = CurrentEndpoints();
  EXPECT_EQ(e.alimama_pub_host, u"pub.alimama.test");
  EXPECT_EQ(e.cloud_api_base, u"http://api.velmorind.test");
  EXPECT_EQ(e.h5_gateway, DefaultEndpoints().h5_gateway);
  const HttpSettings s = CurrentHttpSettings();
  EXPECT_EQ(s.connect_to.value("pub.alimama.test"), u"127.0.0.1:18080");
  EXPECT_EQ(s.connect_to.value("api.velmorind.test"), u"127.0.0.1:18081");
  EXPECT_EQ(s.ca_file, u"/tmp/sandbox-ca.pem");
  SetHttpSettings(before);
  SetEndpoints(DefaultEndpoints());
}

}  // namespace
}  // namespace prunko
