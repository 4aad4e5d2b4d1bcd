#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace prunko::sandbox {

// The data the cloud stand-in starts with.

struct SeedAccount {
  std::string mobile;
  std::string password;
  int64_t user_id;
  std::string nickname;
  std::string auth_token;
  int privilege_mode;
  // The Taobao session this account authorised (empty: none).
  std::string session_key;
  std::string taobao_user_id;
  std::string taobao_user_nick;
};

struct SeedGoods {
  int64_t item_id;
  int feed;  // 0 hot-coupon, 1 hot-clicks, 2 new
  std::string title;
  std::string desc;
  std::string shop_name;
  std::string seller_nick;
  int64_t seller_id;
  bool tmall;
  double price;  // before the coupon
  double coupon_fee;
  double coupon_start_fee;
  int sales;
  int coupon_total;
  int coupon_left;
  std::string activity_id;
  std::string coupon_expire;
  double tk_rate;
  double max_commission_rate;
};

struct SeedGroup {
  int64_t uin;
  std::string name;
  std::vector<std::string> messages;  // message i has id i + 1
};

std::vector<SeedAccount> SeedAccounts();
std::vector<SeedGoods> SeedCatalogue();
std::vector<SeedGroup> SeedGroups();

}  // namespace prunko::sandbox
