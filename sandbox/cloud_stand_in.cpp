#include "sandbox/cloud_stand_in.h"

#include <QString>

#include <algorithm>
#include <regex>

#include "sandbox/reply_json.h"
#include "sandbox/embedded_files.h"

namespace prunko::sandbox {
namespace {

constexpr char kAppKey[] = "kwestal";
constexpr char kJson[] = "application/json; charset=utf-8";

std::string Param(const httplib::Request& req, const char* key) { return req.get_param_value(key); }

void Json(httplib::Response& res, const std::string& text) { res.set_content(text, kJson); }

// The low 32 bits of the id in base 36, as the sites are named.
std::string Base36(int64_t id) {
  auto value = static_cast<uint32_t>(id & 0xFFFFFFFF);
  std::string digits;
  do {
    digits.insert(digits.begin(), "0123456789abcdefghijklmnopqrstuvwxyz"[value % 36]);
    value /= 36;
  } while (value);
  return digits;
}

bool IsObjectText(const std::string& text) {
  rapidjson::Document doc;
  doc.Parse(text.c_str());
  return !doc.HasParseError() && doc.IsObject();
}

}  // namespace

CloudStandIn::CloudStandIn(StandInServer& server)
    : server_(server),
      scheme_(server.scheme() == StandInServer::Scheme::kHttps ? "https://" : "http://"),
      accounts_(SeedAccounts()),
      catalogue_(SeedCatalogue()),
      groups_(SeedGroups()) {
  // A few items are in the shared cache from the start.
  for (size_t i = 0; i < 6; ++i) {
    const SeedGoods& g = catalogue_[i];
    const std::string item = ReplyJson()
                                 .StartObject()
                                 .Key("item_id").Int(g.item_id)
                                 .Key("title").Str(g.title)
                                 .Key("shop_type").Int(g.tmall ? 2 : 1)
                                 .Key("shop_name").Str(g.shop_name)
                                 .Key("nickname").Str(g.seller_nick)
                                 .Key("seller_id").Int(g.seller_id)
                                 .Key("price_org").Double(g.price)
                                 .Key("sales").Int(g.sales)
                                 .EndObject()
                                 .Text();
    const std::string campaign = ReplyJson()
                                     .StartObject()
                                     .Key("type").Int(1)
                                     .Key("campaign_id").Int(0)
                                     .Key("name").Str("通用")
                                     .Key("shop_keeper_id").Int(0)
                                     .Key("commission_rate").Double(g.tk_rate)
                                     .Key("need_audit").Int(0)
                                     .EndObject()
                                     .Text();
    item_cache_[g.item_id] = {item, campaign};
  }
  RouteAccounts();
  RouteCommission(kCommissionHost);
  RouteCommission(kBackupHost);
  RouteItemCache();
  RouteShortLinks();
  RouteSummarySites();
  RouteFeeds();
  RouteGroups();
  RoutePictures();
}

Endpoints CloudStandIn::SandboxEndpoints() const {
  Endpoints e = DefaultEndpoints();
  const auto url = [this](const char* host, const char* path) {
    return QString::fromStdString(scheme_ + host + path);
  };
  e.cloud_api_base = url(kApiHost, "/v1");
  e.auth_host = url(kAuthHost, "");
  e.commission_api_base = url(kCommissionHost, "/v1");
  e.commission_api_backup = url(kBackupHost, "/v1");
  e.item_cache_base = url(kCacheHost, "/item");
  e.short_link_endpoint = url(kShortLinkHost, "");
  e.summary_site_suffix = QString::fromLatin1(kSummarySites + 1);
  e.group_relay = url(kRelayHost, "/msg_api.php");
  e.image_cdn = QString::fromLatin1(kPictureHost);
  return e;
}

const SeedAccount* CloudStandIn::AccountByToken(const std::string& token) const {
  for (const SeedAccount& a : accounts_) {
    if (a.auth_token == token) return &a;
  }
  return nullptr;
}

const SeedGoods* CloudStandIn::Goods(int64_t item_id) const {
  for (const SeedGoods& g : catalogue_) {
    if (g.item_id == item_id) return &g;
  }
  return nullptr;
}

void CloudStandIn::RouteAccounts() {
  server_.Handle(kApiHost, "POST", "/v1/auth/login", [this](const httplib::Request& req, httplib::Response& res) {
    if (Param(req, "v").empty() || Param(req, "f") != "prunko") return Json(res, StatusReply(400, "客户端版本未知"));
    if (Param(req, "appkey") != kAppKey) return Json(res, StatusReply(400, "appkey未授权"));
    for (const SeedAccount& a : accounts_) {
      if (a.mobile != Param(req, "mobile") || a.password != Param(req, "pwd")) continue;
      if (a.password == "frozen") return Json(res, StatusReply(403, "账号已被冻结，请联系客服"));
      return Json(res, ReplyJson()
                           .StartObject()
                           .Key("status").Int(200)
                           .Key("user_id").Int(a.user_id)
                           .Key("nickname").Str(a.nickname)
                           .Key("auth_token").Str(a.auth_token)
                           .Key("privilege_mode").Int(a.privilege_mode)
                           .EndObject()
                           .Text());
    }
    Json(res, StatusReply(401, "账号或密码错误"));
  });

  server_.Handle(kAuthHost, "POST", "/tb-session/query", [this](const httplib::Request& req, httplib::Response& res) {
    if (Param(req, "appkey") != kAppKey) return Json(res, StatusReply(400, "appkey未授权"));
    const bool by_mobile = req.has_param("mobile");
    const std::string key = by_mobile ? Param(req, "mobile") : Param(req, "user_id");
    if (key.empty()) return Json(res, StatusReply(400, "缺少参数"));
    if (Param(req, "sign") != ServiceSign("zept:" + key)) return Json(res, StatusReply(403, "sign error"));
    for (const SeedAccount& a : accounts_) {
      if ((by_mobile ? a.mobile : std::to_string(a.user_id)) != key) continue;
      if (a.session_key.empty()) break;
      return Json(res, ReplyJson()
                           .StartObject()
                           .Key("status").Int(200)
                           .Key("session_key").Str(a.session_key)
                           .Key("taobao_user_id").Str(a.taobao_user_id)
                           .Key("taobao_user_nick").Str(a.taobao_user_nick)
                           .EndObject()
                           .Text());
    }
    Json(res, StatusReply(404, "该账号尚未授权淘宝"));
  });
}

void CloudStandIn::RouteCommission(const char* host) {
  // Every commission request: the key, a known token and the sign.
  const auto checked = [this](std::string sign_source,
                              const httplib::Request& req, httplib::Response& res) -> const SeedAccount* {
    if (Param(req, "appkey") != kAppKey) {
      Json(res, StatusReply(400, "appkey未授权"));
      return nullptr;
    }
    const SeedAccount* account = AccountByToken(Param(req, "token"));
    if (!account) {
      Json(res, StatusReply(401, "token无效"));
      return nullptr;
    }
    if (Param(req, "sign") != ServiceSign(sign_source)) {
      Json(res, StatusReply(403, "sign error"));
      return nullptr;
    }
    return account;
  };

  server_.Handle(host, "POST", "/v1/get-item-info", [this, checked](const httplib::Request& req, httplib::Response& res) {
    const std::string id = Param(req, "item_id");
    if (!checked("zept:" + id, req, res)) return;
    const SeedGoods* g = Goods(std::atoll(id.c_str()));
    if (!g) return Json(res, StatusReply(404, "商品不存在或已下架"));
    Json(res, ReplyJson()
                  .StartObject()
                  .Key("status").Int(200)
                  .Key("item_info").StartObject()
                  .Key("item_url").Str("https://item.taobao.test/item.htm?id=" + id)
                  .Key("title").Str(g->title)
                  .Key("pict_url").Str(scheme_ + kPictureHost + "/bao/" + id + ".jpg")
                  .Key("user_type").Int(g->tmall ? 1 : 0)
                  .Key("zk_final_price").Str(Money(g->price))
                  .EndObject()
                  .EndObject()
                  .Text());
  });

  server_.Handle(host, "POST", "/v1/get-privilege", [this, checked](const httplib::Request& req, httplib::Response& res) {
    const std::string id = Param(req, "itemid");
    const std::string session = Param(req, "session_key");
    const std::string pid = Param(req, "pid");
    if (!checked("zept:" + id + "&" + session + "&" + pid, req, res)) return;
    if (session.empty()) return Json(res, StatusReply(500, "session-is-blank"));
    const bool known = std::any_of(accounts_.begin(), accounts_.end(),
                                   [&](const SeedAccount& a) { return !a.session_key.empty() && a.session_key == session; });
    if (!known) return Json(res, StatusReply(500, "invalid-sessionkey"));
    if (!std::regex_match(pid, std::regex(R"(mm_\d+_\d+_\d+)"))) return Json(res, StatusReply(400, "pid格式错误"));
    const SeedGoods* g = Goods(std::atoll(id.c_str()));
    if (!g) return Json(res, StatusReply(404, "商品不存在或已下架"));
    Json(res, ReplyJson()
                  .StartObject()
                  .Key("status").Int(200)
                  .Key("data").StartObject()
                  .Key("coupon_click_url")
                  .Str("https://uland.taobao.test/coupon/edetail?e=" + ShortCode(id + pid, 24) + "&pid=" + pid)
                  .Key("max_commission_rate").Str(Money(g->max_commission_rate))
                  .EndObject()
                  .EndObject()
                  .Text());
  });

  server_.Handle(host, "POST", "/v1/get-tb-combo-short-url",
                 [checked](const httplib::Request& req, httplib::Response& res) {
                   const std::string url = Param(req, "url");
                   if (!checked("zept:" + url, req, res)) return;
                   if (url.empty()) return Json(res, StatusReply(400, "缺少url"));
                   Json(res, ReplyJson()
                                 .StartObject()
                                 .Key("status").Int(200)
                                 .Key("short_url").Str("https://s.click.taobao.test/" + ShortCode(url, 7))
                                 .EndObject()
                                 .Text());
                 });

  server_.Handle(host, "POST", "/v1/get-tkl", [checked](const httplib::Request& req, httplib::Response& res) {
    const std::string url = Param(req, "url");
    if (!checked("zept:" + url, req, res)) return;
    if (url.empty() || Param(req, "text").empty()) return Json(res, StatusReply(400, "缺少参数"));
    Json(res, ReplyJson()
                  .StartObject()
                  .Key("status").Int(200)
                  .Key("tkl").Str("￥" + ShortCode(url + Param(req, "text"), 11) + "￥")
                  .EndObject()
                  .Text());
  });

  server_.Handle(host, "POST", "/v1/tbk-data-report", [this](const httplib::Request& req, httplib::Response& res) {
    if (Param(req, "appkey") != kAppKey || !AccountByToken(Param(req, "token"))) {
      return Json(res, StatusReply(401, "token无效"));
    }
    std::map<std::string, std::string> report(req.params.begin(), req.params.end());
    {
      std::lock_guard lock(mutex_);
      reports_.push_back(std::move(report));
    }
    Json(res, StatusReply(200, "ok"));
  });
}

void CloudStandIn::RouteItemCache() {
  server_.Handle(kCacheHost, "POST", "/item/get-item-info", [this](const httplib::Request& req, httplib::Response& res) {
    if (Param(req, "appkey") != kAppKey || Param(req, "id").empty()) return Json(res, StatusReply(400, "缺少参数"));
    std::lock_guard lock(mutex_);
    const auto it = item_cache_.find(std::atoll(Param(req, "id").c_str()));
    if (it == item_cache_.end()) return Json(res, R"({"status":404,"data":{}})");
    const std::string& item = it->second.first;
    // The stored item object, with the campaign object inside it.
    Json(res, R"({"status":200,"data":)" + item.substr(0, item.size() - 1) + R"(,"campaign":)" + it->second.second +
                  "}}");
  });

  server_.Handle(kCacheHost, "POST", "/item/update-item-info", [this](const httplib::Request& req, httplib::Response& res) {
    const std::string item = Param(req, "item_data");
    const std::string campaign = Param(req, "campaign_data");
    if (Param(req, "appkey") != kAppKey || !IsObjectText(item) || !IsObjectText(campaign)) {
      return Json(res, StatusReply(400, "数据格式错误"));
    }
    rapidjson::Document item_doc, campaign_doc;
    item_doc.Parse(item.c_str());
    campaign_doc.Parse(campaign.c_str());
    if (!item_doc.HasMember("item_id") || !item_doc["item_id"].IsInt64() || !campaign_doc.HasMember("campaign_id") ||
        !campaign_doc["campaign_id"].IsInt64()) {
      return Json(res, StatusReply(400, "数据格式错误"));
    }
    const int64_t item_id = item_doc["item_id"].GetInt64();
    const int64_t campaign_id = campaign_doc["campaign_id"].GetInt64();
    if (Param(req, "sign") != ServiceSign(std::to_string(item_id) + "&" + std::to_string(campaign_id))) {
      return Json(res, StatusReply(403, "sign error"));
    }
    std::lock_guard lock(mutex_);
    item_cache_[item_id] = {item, campaign};
    Json(res, StatusReply(200, "ok"));
  });
}

void CloudStandIn::RouteShortLinks() {
  server_.Handle(kShortLinkHost, "POST", "/ajax/short", [this](const httplib::Request& req, httplib::Response& res) {
    const bool valid = Param(req, "appkey") == kAppKey && AccountByToken(Param(req, "token")) &&
                       !Param(req, "url").empty() && req.has_param("price") && req.has_param("coupon");
    const std::string link = valid ? scheme_ + kShortLinkHost + "/x/" + ShortCode(Param(req, "url"), 6) : "";
    Json(res, ReplyJson()
                  .StartObject()
                  .Key("status").Str(valid ? "success" : "fail")
                  .Key("link").Str(link)
                  .EndObject()
                  .Text());
  });
}

void CloudStandIn::RouteSummarySites() {
  server_.Handle(kSummarySites, "POST", "/upload", [this](const httplib::Request& req, httplib::Response& res) {
    const std::string data = Param(req, "data");
    rapidjson::Document doc;
    doc.Parse(data.c_str());
    if (doc.HasParseError() || !doc.IsObject() || !doc.HasMember("user_id") || !doc["user_id"].IsInt64() ||
        !doc.HasMember("item_id") || !doc["item_id"].IsString()) {
      return Json(res, StatusReply(400, "数据格式错误"));
    }
    const int64_t user_id = doc["user_id"].GetInt64();
    if (Param(req, "sign") != ServiceSign(std::to_string(user_id) + "&" + doc["item_id"].GetString())) {
      return Json(res, StatusReply(403, "sign error"));
    }
    const std::string host = req.get_header_value("Host");
    if (host.rfind(Base36(user_id) + ".", 0) != 0) return Json(res, StatusReply(403, "站点与账号不符"));
    {
      std::lock_guard lock(mutex_);
      summary_uploads_.push_back(data);
    }
    Json(res, StatusReply(200, "ok"));
  });
}

std::string CloudStandIn::FeedReply(int feed, const httplib::Request& req) const {
  if (Param(req, "appkey") != kAppKey || Param(req, "v").empty() || !AccountByToken(Param(req, "token"))) {
    return R"({"status":401,"msg":"token无效","data":[]})";
  }
  const bool tmall_only = Param(req, "tmall") == "1";
  const int min_sales = std::atoi(Param(req, "sales").c_str());
  const double min_price = std::atof(Param(req, "min_price").c_str());
  ReplyJson reply;
  reply.StartObject().Key("status").Int(200).Key("data").StartArray();
  for (const SeedGoods& g : catalogue_) {
    const double after_coupon = g.price - g.coupon_fee;
    if (g.feed != feed || (tmall_only && !g.tmall) || g.sales < min_sales || after_coupon < min_price) continue;
    const std::string id = std::to_string(g.item_id);
    reply.StartObject()
        .Key("item_id").Str(id)
        .Key("activity_id").Str(g.activity_id)
        .Key("title").Str(g.title)
        .Key("desc").Str(g.desc)
        .Key("item_url").Str("https://item.taobao.test/item.htm?id=" + id)
        .Key("pic_url").Str(scheme_ + kPictureHost + "/bao/" + id + ".jpg")
        .Key("pic_url_2").Str("")
        .Key("coupon_url").Str("https://uland.taobao.test/coupon/edetail?activityId=" + g.activity_id + "&itemId=" + id)
        .Key("is_tmall").Str(g.tmall ? "True" : "False")
        .Key("shop_name").Str(g.shop_name)
        .Key("post_free").Str("1")
        .Key("price_original").Str(Money(g.price))
        .Key("price_discount").Str(Money(after_coupon))
        .Key("sales").Str(std::to_string(g.sales))
        .Key("tk_rate").Str(Money(g.tk_rate))
        .Key("me_code").Str("")
        .Key("coupon_start_fee").Str(Money(g.coupon_start_fee))
        .Key("coupon_fee").Str(Money(g.coupon_fee))
        .Key("coupon_count").Str(std::to_string(g.coupon_total))
        .Key("coupon_surplus").Str(std::to_string(g.coupon_left))
        .Key("coupon_expire").Str(g.coupon_expire)
        .EndObject();
  }
  return reply.EndArray().EndObject().Text();
}

void CloudStandIn::RouteFeeds() {
  const char* const paths[] = {"/v1/goods/hot-coupon", "/v1/goods/hot-clicks", "/v1/goods/new"};
  for (int feed = 0; feed < 3; ++feed) {
    server_.Handle(kApiHost, "POST", paths[feed], [this, feed](const httplib::Request& req, httplib::Response& res) {
      Json(res, FeedReply(feed, req));
    });
  }
}

std::string CloudStandIn::GroupMessagesReply(const std::string& body) {
  const auto answer = [](int code, const std::string& maxid) {
    return ReplyJson(true).StartObject().Key("code").Int(code).Key("pagelist").StartArray()
        .StartObject().Key("maxid").Str(maxid).EndObject().EndArray().EndObject().Text();
  };
  rapidjson::Document doc;
  if (body.rfind("uin=", 0) == 0) doc.Parse(body.c_str() + 4);
  if (doc.HasParseError() || !doc.IsObject() || !doc.HasMember("data") || !doc["data"].IsArray() ||
      doc["data"].Empty() || !doc["data"][0].IsObject()) {
    return answer(1003, "0");
  }
  const rapidjson::Value& query = doc["data"][0];
  if (!query.HasMember("groupuin") || !query["groupuin"].IsString() || !query.HasMember("maxid") ||
      !query["maxid"].IsString()) {
    return answer(1003, "0");
  }
  const int64_t uin = std::atoll(query["groupuin"].GetString());
  const size_t after = static_cast<size_t>(std::max(0, std::atoi(query["maxid"].GetString())));
  std::lock_guard lock(mutex_);
  const auto group = std::find_if(groups_.begin(), groups_.end(), [&](const SeedGroup& g) { return g.uin == uin; });
  if (group == groups_.end()) return answer(1002, "0");
  // Ten messages a page at most, newest last.
  const size_t end = std::min(group->messages.size(), after + 10);
  ReplyJson reply(true);
  reply.StartObject().Key("code").Int(1001).Key("pagelist").StartArray().StartObject();
  reply.Key("maxid").Str(std::to_string(std::max(end, after))).Key("data").StartArray();
  for (size_t id = after; id < end; ++id) {
    reply.StartObject().Key("id").Int(static_cast<int64_t>(id + 1)).Key("msg").Str(group->messages[id]).EndObject();
  }
  return reply.EndArray().EndObject().EndArray().EndObject().Text();
}

void CloudStandIn::RouteGroups() {
  server_.Handle(kApiHost, "GET", "/v1/groups/list/e", [this](const httplib::Request&, httplib::Response& res) {
    ReplyJson reply(true);
    reply.StartArray();
    std::lock_guard lock(mutex_);
    for (const SeedGroup& g : groups_) {
      reply.StartObject()
          .Key("uin").Str(std::to_string(g.uin))
          .Key("name").Str(g.name)
          .Key("maxid").Str(std::to_string(g.messages.size()))
          .EndObject();
    }
    Json(res, reply.EndArray().Text());
  });
  server_.Handle(kRelayHost, "POST", "/msg_api.php", [this](const httplib::Request& req, httplib::Response& res) {
    Json(res, GroupMessagesReply(req.body));
  });
}

void CloudStandIn::RoutePictures() {
  for (const SeedGoods& g : catalogue_) {
    server_.Handle(kPictureHost, "GET", "/bao/" + std::to_string(g.item_id) + ".jpg",
                   [](const httplib::Request&, httplib::Response& res) { res.set_content(SeedPicture(), "image/jpeg"); });
  }
}

std::vector<std::map<std::string, std::string>> CloudStandIn::Reports() const {
  std::lock_guard lock(mutex_);
  return reports_;
}

std::vector<std::string> CloudStandIn::SummaryUploads() const {
  std::lock_guard lock(mutex_);
  return summary_uploads_;
}

void CloudStandIn::PostGroupMessage(int64_t uin, const std::string& text) {
  std::lock_guard lock(mutex_);
  for (SeedGroup& g : groups_) {
    if (g.uin == uin) g.messages.push_back(text);
  }
}

}  // namespace prunko::sandbox
