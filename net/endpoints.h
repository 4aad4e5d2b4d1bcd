#pragma once

#include <QString>

namespace prunko {

// Every outside service, named by role. Values are a base URL that requests
// append their paths to ("https://api.velmorind.com/v1"), a host name, a
// bare domain, or (summary_site_suffix) a host-name suffix starting with a
// dot; see the defaults in endpoints.cpp.
struct Endpoints {
  // The maker's services.
  QString cloud_api_base;
  QString auth_host;
  QString commission_api_base;
  QString commission_api_backup;
  QString item_cache_base;
  QString short_link_endpoint;
  QString summary_site_suffix;
  QString group_relay;
  QString update_endpoint;
  QString web_home_base;
  QString product_pages;
  QString help_pages;
  // Alimama.
  QString alimama_root_domain;
  QString alimama_pub_host;
  QString alimama_home_host;
  QString alimama_media_host;
  QString alimama_ad_host;
  QString alimama_security_host;
  QString coupon_landing_host;
  QString mobile_shop_host;
  // Taobao and Tmall.
  QString taobao_item_host;
  QString tmall_item_host;
  QString taobao_root_domain;
  QString taobao_login_host;
  QString taobao_oauth_page;
  QString h5_gateway;
  QString image_cdn;
  // Others.
  QString weibo_short_url_api;
  QString qq_group_image_host;

  bool operator==(const Endpoints&) const = default;
};

// The built-in production values.
Endpoints DefaultEndpoints();

// The process's endpoints.
Endpoints CurrentEndpoints();
void SetEndpoints(const Endpoints& endpoints);

// Reads an endpoints file over the defaults: [Endpoints] role = value (keys
// are the field names above), [ConnectTo] host = address:port and
// [Http] ca_file = path, which go to the HTTP settings. A missing file
// changes nothing and gives false.
bool LoadEndpointsFile(const QString& path);

}  // namespace prunko
