#pragma once

#include <gtest/gtest.h>

#include "alimama/alimama_session.h"
#include "core/app_paths.h"
#include "core/fake_clock.h"
#include "core/log_sink.h"
#include "net/endpoints.h"
#include "net/http_settings.h"
#include "sandbox/alimama_stand_in.h"
#include "sandbox/cloud_seed.h"
#include "sandbox/cloud_stand_in.h"
#include "support/test_support.h"

namespace prunko::test {

// A goods item of the stand-ins' catalogue.
inline const sandbox::SeedGoods& Seeded(int index) {
  static const std::vector<sandbox::SeedGoods> catalogue = sandbox::SeedCatalogue();
  return catalogue[static_cast<size_t>(index)];
}

// The Alimama stand-in, with the cloud's item cache beside it, on a loopback
// port with the client pointed at them.
class AlimamaFixture : public ::testing::Test {
 protected:
  AlimamaFixture() : stand_in_(server_), cloud_(server_) {}

  void SetUp() override {
    ASSERT_TRUE(server_.Start());
    server_.RouteClient();
    SetEndpoints(stand_in_.SandboxEndpoints(cloud_.SandboxEndpoints()));
    SetAlimamaSession({});
    AppPaths paths;
    paths.temp_dir = dir_.File("prunko_temp/");
    SetPaths(paths);
    AppLog().Clear();
  }

  void TearDown() override {
    server_.Stop();
    SetHttpSettings({});
    SetEndpoints(DefaultEndpoints());
    SetAlimamaSession({});
    SetPaths({});
  }

  void UseLoggedInCookie() {
    SetAlimamaCookie(QString::fromStdString(sandbox::AlimamaStandIn::SessionCookie()),
                     QString::fromLatin1(sandbox::AlimamaStandIn::kToken));
  }

  TempFolder dir_;
  FakeClock clock_;
  ScopedClock use_clock_{clock_};
  sandbox::StandInServer server_;
  sandbox::AlimamaStandIn stand_in_;
  sandbox::CloudStandIn cloud_;
};

}  // namespace prunko::test
