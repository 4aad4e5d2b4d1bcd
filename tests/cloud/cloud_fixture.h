#pragma once

#include <gtest/gtest.h>

#include "cloud/account_session.h"
#include "cloud/taobao_auth.h"
#include "core/app_config.h"
#include "core/fake_clock.h"
#include "core/log_sink.h"
#include "net/endpoints.h"
#include "net/http_settings.h"
#include "sandbox/cloud_stand_in.h"
#include "support/test_support.h"

namespace prunko::test {

// The cloud stand-in on a loopback port, the client pointed at it, and a
// configuration file of its own.
class CloudFixture : public ::testing::Test {
 protected:
  CloudFixture() : stand_in_(server_) {}

  void SetUp() override {
    ASSERT_TRUE(server_.Start());
    server_.RouteClient();
    SetEndpoints(stand_in_.SandboxEndpoints());
    ResetConfigRecord();
    UpdateConfig([this](AppConfig& c) { c.config_path = dir_.File("config.cfg"); });
    SetAccount({});
    SetTaobaoAuth({});
    AppLog().Clear();
  }

  void TearDown() override {
    server_.Stop();
    SetHttpSettings({});
    SetEndpoints(DefaultEndpoints());
    ResetConfigRecord();
    SetAccount({});
    SetTaobaoAuth({});
  }

  // Logs in as a seeded account.
  void LogIn(const AccountSession& account_of = {}) {
    AccountSession a = account_of;
    if (a.auth_token.isEmpty()) {
      a.user_id = 1000001;
      a.nickname = QString::fromUtf8("小鹿优选");
      a.mobile = "13800138000";
      a.auth_token = "tok-13800138000-7f3a";
      a.privilege_mode = 2;
      a.summary_site_url = "http://lflt.site.velmorind.test";
    }
    SetAccount(a);
  }

  // Replaces what a stand-in route answers.
  void Answer(const char* host, const char* method, const char* path, int status, const std::string& body) {
    server_.Handle(host, method, path, sandbox::Reply(status, body, "application/json"));
  }

  // Sends a host of the stand-in to a closed port.
  void Unreachable(const char* host) {
    HttpSettings s = CurrentHttpSettings();
    s.connect_to[QString::fromLatin1(host)] = QStringLiteral("127.0.0.1:1");
    SetHttpSettings(s);
  }

  TempFolder dir_;
  FakeClock clock_;  // the log's pauses take no real time
  ScopedClock use_clock_{clock_};
  sandbox::StandInServer server_;
  sandbox::CloudStandIn stand_in_;
};

}  // namespace prunko::test
