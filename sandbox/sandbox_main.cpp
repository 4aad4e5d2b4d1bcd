// prunko-sandbox --home DIR: runs every stand-in on loopback and writes
// DIR/endpoints.ini, which points the program (started with
// PRADELUNKO_HOME=DIR) at them. Runs until interrupted.

#include <QDir>
#include <QString>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <thread>

#include "core/file_util.h"
#include "sandbox/alimama_stand_in.h"
#include "sandbox/cloud_seed.h"
#include "sandbox/cloud_stand_in.h"
#include "sandbox/stand_in_server.h"

namespace {

std::atomic<bool> stop_requested{false};

void RequestStop(int) { stop_requested = true; }

QString ConnectTo(const std::string& host, int port) {
  return QString::fromStdString(host) + QStringLiteral("=127.0.0.1:") + QString::number(port) + QStringLiteral("\r\n");
}

// The endpoints file: the roles, where each host is, and the certificate.
QString EndpointsIni(const prunko::Endpoints& e, const prunko::sandbox::StandInServer& plain,
                     const prunko::sandbox::StandInServer& tls) {
  QString ini = QStringLiteral("[Endpoints]\r\n");
  const std::pair<const char*, QString> roles[] = {
      {"cloud_api_base", e.cloud_api_base},         {"auth_host", e.auth_host},
      {"commission_api_base", e.commission_api_base}, {"commission_api_backup", e.commission_api_backup},
      {"item_cache_base", e.item_cache_base},       {"short_link_endpoint", e.short_link_endpoint},
      {"summary_site_suffix", e.summary_site_suffix}, {"group_relay", e.group_relay},
      {"alimama_root_domain", e.alimama_root_domain}, {"alimama_pub_host", e.alimama_pub_host},
      {"alimama_home_host", e.alimama_home_host},   {"alimama_media_host", e.alimama_media_host},
      {"alimama_security_host", e.alimama_security_host}, {"coupon_landing_host", e.coupon_landing_host},
      {"mobile_shop_host", e.mobile_shop_host},     {"taobao_item_host", e.taobao_item_host},
      {"tmall_item_host", e.tmall_item_host},       {"taobao_root_domain", e.taobao_root_domain},
      {"h5_gateway", e.h5_gateway},                 {"image_cdn", e.image_cdn},
      {"weibo_short_url_api", e.weibo_short_url_api},
  };
  for (const auto& [key, value] : roles) ini += QString::fromLatin1(key) + u'=' + value + QStringLiteral("\r\n");
  ini += QStringLiteral("[ConnectTo]\r\n");
  for (const std::string& host : plain.hosts()) {
    if (host.front() != '*') ini += ConnectTo(host, plain.port());
  }
  // Each seeded user's own summary site.
  for (const prunko::sandbox::SeedAccount& a : prunko::sandbox::SeedAccounts()) {
    const QString site = QString::number(static_cast<quint32>(a.user_id & 0xFFFFFFFF), 36) + e.summary_site_suffix;
    ini += ConnectTo(site.toStdString(), plain.port());
  }
  for (const std::string& host : tls.hosts()) ini += ConnectTo(host, tls.port());
  ini += QStringLiteral("[Http]\r\nca_file=") + tls.certificate_path() + QStringLiteral("\r\n");
  return ini;
}

}  // namespace

int main(int argc, char* argv[]) {
  using namespace prunko::sandbox;
  if (argc != 3 || std::strcmp(argv[1], "--home") != 0) {
    std::fprintf(stderr, "usage: prunko-sandbox --home DIR\n");
    return 1;
  }
  const QString home = QString::fromLocal8Bit(argv[2]);
  QDir().mkpath(home);

  StandInServer plain;
  CloudStandIn cloud(plain);
  AlimamaStandIn alimama(plain);
  StandInServer tls(StandInServer::Scheme::kHttps);
  AlimamaStandIn::RouteShortUrlApi(tls);
  if (!plain.Start() || !tls.Start()) {
    std::fprintf(stderr, "prunko-sandbox: cannot listen on loopback\n");
    return 1;
  }
  const prunko::Endpoints endpoints = alimama.SandboxEndpoints(cloud.SandboxEndpoints());
  const QString path = prunko::WithTrailingSeparator(home) + QStringLiteral("endpoints.ini");
  if (!prunko::WriteTextFile(path, EndpointsIni(endpoints, plain, tls))) {
    std::fprintf(stderr, "prunko-sandbox: cannot write %s\n", qPrintable(path));
    return 1;
  }
  std::printf("prunko-sandbox: stand-ins on 127.0.0.1:%d and :%d, endpoints in %s\n", plain.port(), tls.port(),
              qPrintable(path));
  std::printf("prunko-sandbox: log in with 13800138000 / abc123\n");
  std::fflush(stdout);

  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);
  while (!stop_requested) std::this_thread::sleep_for(std::chrono::milliseconds(200));
  return 0;
}
