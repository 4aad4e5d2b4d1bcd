#include "sandbox/alimama_stand_in.h"

#include <QCryptographicHash>

#include <algorithm>
#include <functional>

#include "sandbox/embedded_files.h"
#include "sandbox/reply_json.h"

namespace prunko::sandbox {
namespace {

constexpr char kBusyPage[] = "<html><body><p>亲，访问的人太多了，我们就算忙到挂水也要让你进去</p></body></html>";

}  // namespace

AlimamaStandIn::AlimamaStandIn(StandInServer& server) : catalogue_(SeedCatalogue()) {
  RouteCouponLanding(server);
  RouteItemSearch(server);
  RouteCampaigns(server);
  RouteLinks(server);
  RouteGateway(server);
  server.Handle(kHomeHost, "GET", "/getLogInfo.htm", [this](const httplib::Request& req, httplib::Response& res) {
    if (Misbehave(res)) return;
    const std::string callback = req.get_param_value("callback");
    if (!LoggedIn(req)) {
      return res.set_content(callback + R"(({"success":false,"data":{"noLogin":true}}))", "text/javascript");
    }
    // The site writes the nick's characters as \u escapes, their backslash doubled.
    std::string nick = ReplyJson(true).StartArray().Str(kNick).EndArray().Text();
    nick = nick.substr(2, nick.size() - 4);
    std::string doubled;
    for (const char c : nick) doubled += c == '\\' ? std::string("\\\\") : std::string(1, c);
    res.set_content(callback + R"(({"success":true,"data":{"memberID":)" + std::to_string(kMemberId) +
                        R"(,"nickName":")" + doubled + R"(","level":2}}))",
                    "text/javascript");
  });

  server.Handle(kPubHost, "GET", "/common/getUnionPubContextInfo.json",
                 [this](const httplib::Request& req, httplib::Response& res) {
                   if (Misbehave(res)) return;
                   if (!LoggedIn(req)) return res.set_content(R"({"data":{"noLogin":true},"ok":true})", "application/json");
                   res.set_content(ReplyJson()
                                       .StartObject()
                                       .Key("data").StartObject()
                                       .Key("memberid").Int(kMemberId)
                                       .Key("mmNick").Str(kNick)
                                       .Key("noLogin").Str("false")
                                       .EndObject()
                                       .Key("ok").Str("true")
                                       .EndObject()
                                       .Text(),
                                   "application/json");
                 });

  server.Handle(kPubHost, "GET", "/report/getTbkPaymentDetails.json",
                 [this](const httplib::Request& req, httplib::Response& res) {
                   if (Misbehave(res)) return;
                   const bool complete = req.get_param_value("queryType") == "1" && req.has_param("payStatus") &&
                                         req.get_param_value("DownloadID") == "DOWNLOAD_REPORT_INCOME_NEW" &&
                                         !req.get_param_value("startTime").empty() &&
                                         !req.get_param_value("endTime").empty();
                   if (!complete) return res.set_content(StatusReply(400, "参数错误"), "application/json");
                   if (!LoggedIn(req)) return LoginPage(res);  // saved as the .xls, as the real site does
                   res.set_content(SeedOrderReport(), "application/vnd.ms-excel");
                 });

  server.Handle(kSecurityHost, "GET", "/deny.html", Reply(200, "<html>访问受限</html>"));
  server.Handle(kMediaHost, "GET", "/user/limit_status.htm", Reply(200, "<html>请完成实名认证</html>"));
  server.Handle(kHomeHost, "GET", "/index.htm", Reply(200, "<html>阿里妈妈</html>"));
}

const SeedGoods* AlimamaStandIn::Goods(int64_t item_id) const {
  for (const SeedGoods& g : catalogue_) {
    if (g.item_id == item_id) return &g;
  }
  return nullptr;
}

void AlimamaStandIn::RouteCouponLanding(StandInServer& server) {
  server.Handle(kCouponLandingHost, "GET", "/cp/coupon", [this](const httplib::Request& req, httplib::Response& res) {
    const SeedGoods* found = nullptr;
    for (const SeedGoods& g : catalogue_) {
      const bool by_me = req.has_param("me") && req.get_param_value("me") == MeCode(g);
      const bool by_activity = req.get_param_value("activityId") == g.activity_id &&
                               req.get_param_value("itemId") == std::to_string(g.item_id);
      if (by_me || by_activity) found = &g;
    }
    if (!found) {
      return res.set_content(R"({"result":{"retStatus":2,"msg":"优惠券不存在"}})", "application/json");
    }
    const SeedGoods& g = *found;
    res.set_content(ReplyJson()
                        .StartObject()
                        .Key("result").StartObject()
                        .Key("retStatus").Int(g.coupon_left > 0 ? 0 : 1)
                        .Key("amount").Double(g.coupon_fee)
                        .Key("startFee").Double(g.coupon_start_fee)
                        .Key("effectiveEndTime").Str(g.coupon_expire + " 23:59:59")
                        .Key("shopName").Str(g.shop_name)
                        .Key("item").StartObject()
                        .Key("itemId").Int(g.item_id)
                        .Key("title").Str(g.title)
                        .Key("picUrl").Str("//img.velmorind.test/bao/" + std::to_string(g.item_id) + ".jpg")
                        .Key("discountPrice").Double(g.price)
                        .Key("biz30Day").Int(g.sales)
                        .Key("postFree").Str("1")
                        .Key("tmall").Str(g.tmall ? "1" : "0")
                        .EndObject()
                        .EndObject()
                        .EndObject()
                        .Text(),
                    "application/json");
  });
}

void AlimamaStandIn::RouteItemSearch(StandInServer& server) {
  server.Handle(kPubHost, "GET", "/items/search.json", [this](const httplib::Request& req, httplib::Response& res) {
    // The client's redirect probe (no cookie) sees the busy page too but
    // does not use up a busy reply.
    int busy = busy_searches_.load();
    while (busy > 0 && req.has_header("Cookie") && !busy_searches_.compare_exchange_weak(busy, busy - 1)) {
    }
    if (busy > 0) return res.set_content(kBusyPage, "text/html; charset=utf-8");
    if (Misbehave(res)) return;
    if (!LoggedIn(req)) return LoginPage(res);
    const std::string prefix = std::string("https://") + kTmallItemHost + "/item.htm?id=";
    const std::string q = req.get_param_value("q");
    const SeedGoods* g = q.rfind(prefix, 0) == 0 ? Goods(std::atoll(q.c_str() + prefix.size())) : nullptr;
    if (!g) return res.set_content(R"({"data":{"head":{"status":"NORESULT"},"pageList":null}})", "application/json");
    const size_t i = static_cast<size_t>(g - catalogue_.data());
    ReplyJson hit;
    hit.StartObject()
        .Key("data").StartObject()
        .Key("head").StartObject().Key("status").Str("OK").EndObject()
        .Key("pageList").StartArray().StartObject()
        .Key("title").Str(g->title)
        .Key("pictUrl").Str("//img.velmorind.test/bao/" + std::to_string(g->item_id) + ".jpg")
        .Key("auctionUrl").Str("http://item.taobao.test/item.htm?id=" + std::to_string(g->item_id))
        .Key("sellerId").Int(g->seller_id)
        .Key("userType").Int(g->tmall ? 1 : 0)
        .Key("shopTitle").Str(g->shop_name)
        .Key("nick").Str(g->seller_nick)
        .Key("zkPrice").Double(g->price)
        .Key("biz30day").Int(g->sales)
        .Key("leafCatId").Int(50010850 + static_cast<int64_t>(i % 7))
        .Key("tkMktStatus").Int(i % 5 == 0 ? 1 : 0)
        .Key("tkRate").Double(g->tk_rate);
    if (i % 3 == 1) hit.Key("eventRate").Double(g->tk_rate + 1.5);
    if (i % 4 == 2) {
      hit.Key("tkSpecialCampaignIdRateMap").StartObject()
          .Key("0").Str("50.00")
          .Key(std::to_string(31000000 + i).c_str()).Str(std::to_string(static_cast<int>(g->tk_rate) + 8) + ".50")
          .EndObject();
    }
    res.set_content(hit.EndObject().EndArray().EndObject().EndObject().Text(), "application/json");
  });
}

void AlimamaStandIn::RouteCampaigns(StandInServer& server) {
  // Shop 2200000002 runs the directed campaigns of catalogue items 2, 6, 10, ...;
  // those of items 6, 14, ... need its approval; the user joined 31000010.
  server.Handle(kPubHost, "GET", "/shopdetail/campaigns.json", [this](const httplib::Request& req, httplib::Response& res) {
    if (Misbehave(res)) return;
    if (!LoggedIn(req)) return LoginPage(res);
    const int64_t seller = std::atoll(req.get_param_value("oriMemberId").c_str());
    ReplyJson reply;
    reply.StartObject().Key("data").StartObject();
    reply.Key("exsitApplyList").StartArray();
    if (seller == 2200000002) {
      reply.StartObject().Key("id").Int(kApplicationId).Key("campaignId").Int(kAppliedCampaign).EndObject();
    }
    reply.EndArray().Key("campaignList").StartArray();
    for (size_t i = 2; i < catalogue_.size(); i += 4) {
      if (catalogue_[i].seller_id != seller) continue;
      reply.StartObject()
          .Key("campaignId").Int(DirectedCampaignOf(i))
          .Key("campaignName").Str("定向计划" + std::to_string(i))
          .Key("shopKeeperId").Int(3300000000 + seller % 100)
          .Key("properties").Int(i % 8 == 6 ? 3 : 1)
          .EndObject();
    }
    res.set_content(reply.EndArray().EndObject().Key("ok").Str("true").EndObject().Text(), "application/json");
  });

  server.Handle(kPubHost, "GET", "/campaign/joinedCampaigns.json", [this](const httplib::Request& req, httplib::Response& res) {
    if (Misbehave(res)) return;
    if (!LoggedIn(req) || req.get_param_value("_tb_token_") != kToken) return LoginPage(res);
    ReplyJson reply;
    reply.StartObject().Key("ok").Bool(true).Key("data").StartObject().Key("pagelist").StartArray();
    if (req.get_param_value("nickname") == "seller_2") {
      reply.StartObject()
          .Key("status").Int(2)
          .Key("campaignId").Int(kAppliedCampaign)
          .Key("campaignName").Str("定向计划10")
          .Key("shopKeeperId").Int(3300000002)
          .Key("id").Int(kApplicationId)
          .EndObject();
    }
    res.set_content(reply.EndArray().EndObject().EndObject().Text(), "application/json");
  });

  server.Handle(kPubHost, "POST", "/pubauc/applyForCommonCampaign.json", [this](const httplib::Request& req, httplib::Response& res) {
    if (Misbehave(res)) return;
    if (!LoggedIn(req)) return LoginPage(res);
    const auto refuse = [&res](const std::string& message) {
      res.set_content(ReplyJson().StartObject().Key("ok").Bool(false).Key("info").StartObject()
                          .Key("message").Str(message).EndObject().EndObject().Text(), "application/json");
    };
    if (req.get_param_value("_tb_token_") != kToken) return refuse("页面失效，请刷新页面后重试");
    const std::string campaign = req.get_param_value("campId");
    if (campaign.empty() || req.get_param_value("keeperid").empty() || req.get_param_value("applyreason").empty()) {
      return refuse("参数错误");
    }
    std::lock_guard lock(mutex_);
    const std::string application = campaign + "," + req.get_param_value("keeperid") + "," + req.get_param_value("applyreason");
    if (std::atoll(campaign.c_str()) == kAppliedCampaign ||
        std::find(applications_.begin(), applications_.end(), application) != applications_.end()) {
      return refuse("您已经申请过该计划，请耐心等待审核");
    }
    applications_.push_back(application);
    res.set_content(R"({"ok":true,"info":{"message":null}})", "application/json");
  });

  server.Handle(kPubHost, "POST", "/campaign/exitCampaign.json", [this](const httplib::Request& req, httplib::Response& res) {
    if (Misbehave(res)) return;
    if (!LoggedIn(req) || req.get_param_value("_tb_token_") != kToken) return LoginPage(res);
    const int64_t id = std::atoll(req.get_param_value("pubCampaignid").c_str());
    std::lock_guard lock(mutex_);
    exits_.push_back(id);
    res.set_content(id == kApplicationId ? R"({"ok":true})" : R"({"ok":false})", "application/json");
  });
}

std::string AlimamaStandIn::TaoPasswordFor(const std::string& address) {
  const std::string password = "￥" + ShortCode(address, 11) + "￥";
  std::lock_guard lock(mutex_);
  tao_passwords_[password] = address;
  return password;
}

void AlimamaStandIn::RouteLinks(StandInServer& server) {
  const auto link_reply = [this](const httplib::Request& req, httplib::Response& res, const std::string& address) {
    if (Misbehave(res)) return;
    if (!LoggedIn(req) || req.get_param_value("_tb_token_") != kToken) return LoginPage(res);
    if (req.get_param_value("siteid").empty() || req.get_param_value("adzoneid").empty() ||
        req.get_param_value("t").empty() || address.empty()) {
      return res.set_content(R"({"data":{},"ok":false,"info":{"message":"参数错误"}})", "application/json");
    }
    const std::string tracked = address + (address.find('?') == std::string::npos ? "?" : "&") + "pid=mm_" +
                                std::to_string(kMemberId) + "_" + req.get_param_value("siteid") + "_" +
                                req.get_param_value("adzoneid");
    const std::string password = TaoPasswordFor(tracked);
    res.set_content(ReplyJson()
                        .StartObject()
                        .Key("data").StartObject()
                        .Key("taoToken").Str(password)
                        .Key("shortLinkUrl").Str("https://s.click.taobao.test/" + password.substr(3, 7))
                        .EndObject()
                        .Key("ok").Bool(true)
                        .EndObject()
                        .Text(),
                    "application/json");
  };
  server.Handle(kPubHost, "GET", "/common/code/getAuctionCode.json", [this, link_reply](const httplib::Request& req, httplib::Response& res) {
    const std::string id = req.get_param_value("auctionid");
    const bool known = Goods(std::atoll(id.c_str())) && req.get_param_value("scenes") == "1";
    link_reply(req, res, known ? std::string("https://") + kTaobaoItemHost + "/item.htm?id=" + id : "");
  });
  server.Handle(kPubHost, "GET", "/urltrans/urltransForOfficial.json", [link_reply](const httplib::Request& req, httplib::Response& res) {
    const bool complete = req.get_param_value("eventId") == "2016032001" && req.get_param_value("invokerId") == "8612510098";
    link_reply(req, res, complete ? req.get_param_value("promotionURL") : "");
  });
}

void AlimamaStandIn::RouteGateway(StandInServer& server) {
  const auto gateway = [this](const char* api, std::function<std::string(const rapidjson::Document&)> answer) {
    return [this, api, answer](const httplib::Request& req, httplib::Response& res) {
      const auto ret = [&res, api](const std::string& code) {
        res.set_content(ReplyJson().StartObject().Key("api").Str(api).Key("data").StartObject().EndObject()
                            .Key("ret").StartArray().Str(code).EndArray().Key("v").Str("1.0").EndObject().Text(),
                        "application/json");
      };
      if (req.get_param_value("appKey") != "30691825" || req.get_param_value("api") != api ||
          req.get_param_value("t").empty()) {
        return ret("FAIL_SYS_PARAMINVALID::参数错误");
      }
      if (!req.has_param("sign")) {  // the token request
        const std::string token = "7c3f" + std::to_string(gateway_tokens_.size() + 1000) + "a9e1d2b4c6f8a0b2c4d6e8f0a1b3";
        {
          std::lock_guard lock(mutex_);
          gateway_tokens_.push_back(token);
        }
        res.headers.emplace("Set-Cookie", "_m_h5_tk=" + token + "_1515120000000; Path=/; Domain=.taobao.test");
        res.headers.emplace("Set-Cookie", "_m_h5_tk_enc=5c7d2a0e; Path=/; Domain=.taobao.test");
        return ret("FAIL_SYS_TOKEN_EMPTY::令牌为空");
      }
      const std::string cookie = req.get_header_value("Cookie");
      const size_t at = cookie.find("_m_h5_tk=");
      const std::string token = at == std::string::npos ? "" : cookie.substr(at + 9, cookie.find('_', at + 9) - at - 9);
      {
        std::lock_guard lock(mutex_);
        if (std::find(gateway_tokens_.begin(), gateway_tokens_.end(), token) == gateway_tokens_.end()) {
          return ret("FAIL_SYS_TOKEN_ILLEGAL::令牌非法");
        }
      }
      std::string data = req.get_param_value("data");
      std::string unix_lines;
      for (size_t i = 0; i < data.size(); ++i) {
        if (!(data[i] == '\r' && i + 1 < data.size() && data[i + 1] == '\n')) unix_lines += data[i];
      }
      const std::string source = token + "&" + req.get_param_value("t") + "&30691825&" + unix_lines;
      const std::string expected =
          QCryptographicHash::hash(QByteArray::fromStdString(source), QCryptographicHash::Md5).toHex().toStdString();
      if (req.get_param_value("sign") != expected) return ret("FAIL_SYS_ILLEGAL_SIGN::非法签名");
      rapidjson::Document doc;
      doc.Parse(data.c_str());
      if (doc.HasParseError() || !doc.IsObject()) return ret("FAIL_SYS_PARAMINVALID::参数错误");
      res.set_content(answer(doc), "application/json");
    };
  };
  const auto success = [](const char* api, ReplyJson& data) {
    return R"({"api":")" + std::string(api) + R"(","data":)" + data.Text() + R"(,"ret":["SUCCESS::调用成功"],"v":"1.0"})";
  };
  const auto member = [](const rapidjson::Document& doc, const char* key) -> std::string {
    return doc.HasMember(key) && doc[key].IsString() ? doc[key].GetString() : "";
  };

  static constexpr char kCreate[] = "mtop.alimama.moon.taotoken.getToken";
  server.Handle(kH5Gateway, "GET", std::string("/h5/") + kCreate + "/1.0/", gateway(kCreate, [=, this](const rapidjson::Document& doc) {
    ReplyJson data;
    data.StartObject();
    if (!member(doc, "url").empty() && member(doc, "password") == "tao") {
      data.Key("taoToken").Str(TaoPasswordFor(member(doc, "url")));
    }
    data.EndObject();
    return success(kCreate, data);
  }));
  static constexpr char kResolve[] = "mtop.taobao.wireless.share.password.get";
  server.Handle(kH5Gateway, "GET", std::string("/h5/") + kResolve + "/1.0/", gateway(kResolve, [=, this](const rapidjson::Document& doc) {
    ReplyJson data;
    data.StartObject();
    std::lock_guard lock(mutex_);
    const auto it = tao_passwords_.find(member(doc, "passwordText"));
    if (it != tao_passwords_.end()) data.Key("url").Str(it->second).Key("passwordType").Str("tao");
    data.EndObject();
    return success(kResolve, data);
  }));
  static constexpr char kItemInfo[] = "mtop.alimama.moon.provider.edetail.iteminfo.get";
  server.Handle(kH5Gateway, "GET", std::string("/h5/") + kItemInfo + "/1.0/", gateway(kItemInfo, [=, this](const rapidjson::Document& doc) {
    const std::string url = member(doc, "url");
    const size_t id_at = url.find("id=");
    const SeedGoods* g = id_at == std::string::npos ? nullptr : Goods(std::atoll(url.c_str() + id_at + 3));
    ReplyJson data;
    data.StartObject();
    if (g) {
      data.Key("title").Str(g->title)
          .Key("pictUrl").Str("//img.velmorind.test/bao/" + std::to_string(g->item_id) + ".jpg")
          .Key("rawUrl").Str(std::string("//") + kTaobaoItemHost + "/item.htm?id=" + std::to_string(g->item_id))
          .Key("tmall").Str(g->tmall ? "1" : "0")
          .Key("discountPrice").Str(Money(g->price))
          .Key("biz30Day").Str(std::to_string(g->sales))
          .Key("commonRate").Str(Money(g->tk_rate))
          .Key("eventRate").Str(Money(g->tk_rate + 1.5));
    }
    data.EndObject();
    return success(kItemInfo, data);
  }));
}

void AlimamaStandIn::RouteShortUrlApi(StandInServer& tls_server) {
  tls_server.Handle(kWeiboApiHost, "GET", "/2/short_url/shorten.json", [](const httplib::Request& req, httplib::Response& res) {
    if (req.get_param_value("source") != "402618375") {
      return res.set_content(R"({"error":"source paramter(appkey) is missing","error_code":10006})", "application/json");
    }
    const std::string long_url = req.get_param_value("url_long");
    ReplyJson reply;
    reply.StartObject().Key("urls").StartArray();
    if (!long_url.empty()) {
      reply.StartObject().Key("url_short").Str("http://t.cn/" + ShortCode(long_url, 7)).Key("url_long").Str(long_url)
          .Key("type").Int(0).Key("result").Bool(true).EndObject();
    }
    res.set_content(reply.EndArray().EndObject().Text(), "application/json");
  });
}

std::vector<std::string> AlimamaStandIn::Applications() const {
  std::lock_guard lock(mutex_);
  return applications_;
}

std::vector<int64_t> AlimamaStandIn::Exits() const {
  std::lock_guard lock(mutex_);
  return exits_;
}

std::string AlimamaStandIn::SessionCookie() {
  return std::string("cookie2=1c2d3e4f5a6b; _tb_token_=") + kToken + "; t=9a8b7c; cna=abcDEF";
}

Endpoints AlimamaStandIn::SandboxEndpoints(const Endpoints& base) const {
  Endpoints e = base;
  e.alimama_root_domain = kRootDomain;
  e.alimama_pub_host = kPubHost;
  e.alimama_home_host = kHomeHost;
  e.alimama_media_host = kMediaHost;
  e.alimama_security_host = kSecurityHost;
  e.taobao_root_domain = kTaobaoRootDomain;
  e.coupon_landing_host = kCouponLandingHost;
  e.tmall_item_host = kTmallItemHost;
  e.mobile_shop_host = kMobileShopHost;
  e.taobao_item_host = kTaobaoItemHost;
  e.h5_gateway = kH5Gateway;
  e.weibo_short_url_api = QString::fromLatin1(kWeiboApiHost) + QStringLiteral("/2");
  return e;
}

bool AlimamaStandIn::LoggedIn(const httplib::Request& req) const {
  const std::string cookie = req.get_header_value("Cookie");
  return cookie.find("cookie2=1c2d3e4f5a6b") != std::string::npos &&
         cookie.find(std::string("_tb_token_=") + kToken) != std::string::npos;
}

bool AlimamaStandIn::Misbehave(httplib::Response& res) const {
  // Redirects name the hosts without a port, as the real site does; the
  // client's host map brings them back here.
  const std::string base = "http://";
  switch (misbehaviour_.load()) {
    case Misbehaviour::kNone:
      return false;
    case Misbehaviour::kBusy:
      res.set_content(kBusyPage, "text/html; charset=utf-8");
      return true;
    case Misbehaviour::kDeny:
      RedirectTo(base + kSecurityHost + "/deny.html")({}, res);
      return true;
    case Misbehaviour::kLimitStatus:
      RedirectTo(base + kMediaHost + "/user/limit_status.htm")({}, res);
      return true;
    case Misbehaviour::kLoggedOut:
      LoginPage(res);
      return true;
  }
  return false;
}

void AlimamaStandIn::LoginPage(httplib::Response& res) const {
  res.set_content(R"(<html><body><iframe id="taobaoLoginIfr" src="https://login.taobao.test/member/login.jhtml"></iframe></body></html>)",
                  "text/html; charset=utf-8");
}

}  // namespace prunko::sandbox
