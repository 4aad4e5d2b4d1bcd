#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <vector>
#include <string>

#include "net/endpoints.h"
#include "sandbox/cloud_seed.h"
#include "sandbox/stand_in_server.h"

namespace prunko::sandbox {

// The Alimama publisher platform, stood in for under .test names: the
// publisher, home, media and security hosts. A request counts as logged in
// only with the session cookie this stand-in hands out (its "cookie2" and
// "_tb_token_"); anything else gets the login page. Misbehaviours that are
// hard to provoke on the real site can be switched on.
class AlimamaStandIn {
 public:
  static constexpr char kRootDomain[] = "alimama.test";
  static constexpr char kPubHost[] = "pub.alimama.test";
  static constexpr char kHomeHost[] = "www.alimama.test";
  static constexpr char kMediaHost[] = "media.alimama.test";
  static constexpr char kSecurityHost[] = "sec.taobao.test";
  static constexpr char kTaobaoRootDomain[] = "taobao.test";
  static constexpr char kCouponLandingHost[] = "uland.taobao.test";
  static constexpr char kTmallItemHost[] = "detail.tmall.test";
  static constexpr char kMobileShopHost[] = "shop.m.taobao.test";
  static constexpr char kTaobaoItemHost[] = "item.taobao.test";
  static constexpr char kH5Gateway[] = "h5api.m.taobao.test";
  static constexpr char kWeiboApiHost[] = "api.weibo.test";

  static constexpr char kToken[] = "e3b8f51a7d0c2";
  static constexpr int64_t kMemberId = 12345678;
  static constexpr char kNick[] = "小鹿优选";

  // What every logged-in page answers instead of its reply.
  enum class Misbehaviour { kNone, kBusy, kDeny, kLimitStatus, kLoggedOut };

  // Registers every route; call before the server starts.
  explicit AlimamaStandIn(StandInServer& server);

  // The Cookie header of a logged-in browser.
  static std::string SessionCookie();
  // The endpoints that name this stand-in's hosts.
  Endpoints SandboxEndpoints(const Endpoints& base) const;

  void SetMisbehaviour(Misbehaviour m) { misbehaviour_ = m; }
  // The next `replies` item searches answer with the busy page (the
  // client's cookie-less redirect probes see it without counting).
  void BusyFor(int replies) { busy_searches_ = replies; }

  // What the publisher was asked to do: "campId,keeperid,applyreason" per
  // application, the application ids left.
  std::vector<std::string> Applications() const;
  std::vector<int64_t> Exits() const;

  // The directed campaigns of the seeded shops.
  static int64_t DirectedCampaignOf(size_t catalogue_index) { return 31000000 + static_cast<int64_t>(catalogue_index); }
  static constexpr int64_t kAppliedCampaign = 31000010;
  static constexpr int64_t kApplicationId = 9000010;

  // The microblog short-URL API; it is reached over https, so it goes on a
  // server of its own.
  static void RouteShortUrlApi(StandInServer& tls_server);

  // The me code of a seeded coupon.
  static std::string MeCode(const SeedGoods& goods) { return "me" + goods.activity_id; }

 private:
  bool LoggedIn(const httplib::Request& req) const;
  // Answers for a misbehaving site; false when the page may answer itself.
  bool Misbehave(httplib::Response& res) const;
  void LoginPage(httplib::Response& res) const;
  void RouteCouponLanding(StandInServer& server);
  void RouteItemSearch(StandInServer& server);
  void RouteCampaigns(StandInServer& server);
  void RouteLinks(StandInServer& server);
  void RouteGateway(StandInServer& server);
  // A Tao password for an address, remembered so that it resolves again.
  std::string TaoPasswordFor(const std::string& address);
  const SeedGoods* Goods(int64_t item_id) const;

  const std::vector<SeedGoods> catalogue_;
  std::atomic<int> busy_searches_{0};
  mutable std::mutex mutex_;
  std::vector<std::string> applications_;
  std::vector<int64_t> exits_;
  std::map<std::string, std::string> tao_passwords_;  // password -> address
  std::vector<std::string> gateway_tokens_;

  std::atomic<Misbehaviour> misbehaviour_{Misbehaviour::kNone};
};

}  // namespace prunko::sandbox
