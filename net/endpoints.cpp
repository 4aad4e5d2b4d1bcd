#include "net/endpoints.h"

#include "core/file_util.h"
#include "core/guarded_record.h"
#include "core/ini_file.h"
#include "net/http_settings.h"

namespace prunko {
namespace {

struct Role {
  const char16_t* key;
  QString Endpoints::*field;
  const char16_t* production;
};

const Role kRoles[] = {
    {u"cloud_api_base", &Endpoints::cloud_api_base, u"https://api.velmorind.com/v1"},
    {u"auth_host", &Endpoints::auth_host, u"https://auth.velmorind.com"},
    {u"commission_api_base", &Endpoints::commission_api_base, u"https://tbk.velmorind.com/v1"},
    {u"commission_api_backup", &Endpoints::commission_api_backup, u"https://tbk2.velmorind.com/v1"},
    {u"item_cache_base", &Endpoints::item_cache_base, u"https://cache.velmorind.com/item"},
    {u"short_link_endpoint", &Endpoints::short_link_endpoint, u"http://s.velmorind.com"},
    {u"summary_site_suffix", &Endpoints::summary_site_suffix, u".site.velmorind.com"},
    {u"group_relay", &Endpoints::group_relay, u"http://relay.velmorind.com/msg_api.php"},
    {u"update_endpoint", &Endpoints::update_endpoint, u"https://update.velmorind.com/check"},
    {u"web_home_base", &Endpoints::web_home_base, u"https://www.velmorind.com"},
    {u"product_pages", &Endpoints::product_pages, u"https://www.velmorind.com/product"},
    {u"help_pages", &Endpoints::help_pages, u"https://www.velmorind.com/help"},
    {u"alimama_root_domain", &Endpoints::alimama_root_domain, u"alimama.com"},
    {u"alimama_pub_host", &Endpoints::alimama_pub_host, u"pub.alimama.com"},
    {u"alimama_home_host", &Endpoints::alimama_home_host, u"www.alimama.com"},
    {u"alimama_media_host", &Endpoints::alimama_media_host, u"media.alimama.com"},
    {u"alimama_ad_host", &Endpoints::alimama_ad_host, u"ad.alimama.com"},
    {u"alimama_security_host", &Endpoints::alimama_security_host, u"sec.taobao.com"},
    {u"coupon_landing_host", &Endpoints::coupon_landing_host, u"uland.taobao.com"},
    {u"mobile_shop_host", &Endpoints::mobile_shop_host, u"shop.m.taobao.com"},
    {u"taobao_item_host", &Endpoints::taobao_item_host, u"item.taobao.com"},
    {u"tmall_item_host", &Endpoints::tmall_item_host, u"detail.tmall.com"},
    {u"taobao_root_domain", &Endpoints::taobao_root_domain, u"taobao.com"},
    {u"taobao_login_host", &Endpoints::taobao_login_host, u"login.taobao.com"},
    {u"taobao_oauth_page", &Endpoints::taobao_oauth_page, u"https://oauth.taobao.com/authorize"},
    {u"h5_gateway", &Endpoints::h5_gateway, u"h5api.m.taobao.com"},
    {u"image_cdn", &Endpoints::image_cdn, u"img.alicdn.com"},
    {u"weibo_short_url_api", &Endpoints::weibo_short_url_api, u"api.weibo.com/2"},
    {u"qq_group_image_host", &Endpoints::qq_group_image_host, u"gchat.qpic.cn"},
};

GuardedRecord<Endpoints>& Record() {
  static GuardedRecord<Endpoints> endpoints(DefaultEndpoints());
  return endpoints;
}

}  // namespace

Endpoints DefaultEndpoints() {
  Endpoints e;
  for (const Role& role : kRoles) e.*role.field = QString::fromUtf16(role.production);
  return e;
}

Endpoints CurrentEndpoints() { return Record().Get(); }

void SetEndpoints(const Endpoints& endpoints) { Record().Set(endpoints); }

bool LoadEndpointsFile(const QString& path) {
  if (!FileExists(path)) return false;
  const IniFile ini(path);
  Endpoints endpoints = DefaultEndpoints();
  for (const Role& role : kRoles) {
    endpoints.*role.field = ini.ReadString(u"Endpoints", role.key, endpoints.*role.field);
  }
  SetEndpoints(endpoints);

  HttpSettings settings = CurrentHttpSettings();
  for (const QString& host : ini.Keys(u"ConnectTo")) {
    settings.connect_to.insert(host, ini.ReadString(u"ConnectTo", host));
  }
  settings.ca_file = ini.ReadString(u"Http", u"ca_file", settings.ca_file);
  SetHttpSettings(settings);
  return true;
}

}  // namespace prunko
