#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "net/endpoints.h"
#include "sandbox/cloud_seed.h"
#include "sandbox/stand_in_server.h"

namespace prunko::sandbox {

// The maker's cloud services, stood in for on one StandInServer under names
// in the .test domain: the account login, the Taobao session query, the
// commission API and its backup, the item cache, the short-link service, the
// users' summary sites, the goods feeds, the collection groups and their
// message relay, and the goods pictures. Every request is checked as the
// real service checks it (application key, token, sign, parameters).
class CloudStandIn {
 public:
  static constexpr char kApiHost[] = "api.velmorind.test";
  static constexpr char kAuthHost[] = "auth.velmorind.test";
  static constexpr char kCommissionHost[] = "tbk.velmorind.test";
  static constexpr char kBackupHost[] = "tbk2.velmorind.test";
  static constexpr char kCacheHost[] = "cache.velmorind.test";
  static constexpr char kShortLinkHost[] = "s.velmorind.test";
  static constexpr char kRelayHost[] = "relay.velmorind.test";
  static constexpr char kSummarySites[] = "*.site.velmorind.test";
  static constexpr char kPictureHost[] = "img.velmorind.test";

  // Registers every route; call before the server starts.
  explicit CloudStandIn(StandInServer& server);

  // The endpoints that name this stand-in's services.
  Endpoints SandboxEndpoints() const;

  // What the services were told.
  std::vector<std::map<std::string, std::string>> Reports() const;
  std::vector<std::string> SummaryUploads() const;
  // Adds a message to a collection group.
  void PostGroupMessage(int64_t uin, const std::string& text);

 private:
  using Params = std::multimap<std::string, std::string>;

  void RouteAccounts();
  void RouteCommission(const char* host);
  void RouteItemCache();
  void RouteShortLinks();
  void RouteSummarySites();
  void RouteFeeds();
  void RouteGroups();
  void RoutePictures();

  const SeedAccount* AccountByToken(const std::string& token) const;
  const SeedGoods* Goods(int64_t item_id) const;
  std::string FeedReply(int feed, const httplib::Request& request) const;
  std::string GroupMessagesReply(const std::string& body);

  StandInServer& server_;
  const std::string scheme_;
  const std::vector<SeedAccount> accounts_;
  const std::vector<SeedGoods> catalogue_;

  mutable std::mutex mutex_;
  std::vector<SeedGroup> groups_;
  std::map<int64_t, std::pair<std::string, std::string>> item_cache_;  // item_data, campaign_data
  std::vector<std::map<std::string, std::string>> reports_;
  std::vector<std::string> summary_uploads_;
};

}  // namespace prunko::sandbox
