#include "sandbox/cloud_seed.h"

namespace prunko::sandbox {

std::vector<SeedAccount> SeedAccounts() {
  return {
      {"13800138000", "abc123", 1000001, "小鹿优选", "tok-13800138000-7f3a", 2, "6100e23a9f0bd1c7sessiona", "2206581234",
       "小鹿优选旗舰"},
      {"13900139000", "p&ss=w0rd", 1000002, "省钱喵", "tok-13900139000-41c9", 1, "", "", ""},
      {"13700137000", "frozen", 1000003, "冻结账号", "tok-13700137000-0000", 1, "", "", ""},
  };
}

std::vector<SeedGoods> SeedCatalogue() {
  static const char* const kProducts[] = {"纯棉短袖T恤",   "冰丝防晒衣", "无线蓝牙耳机", "大容量保温杯",
                                          "加厚毛绒拖鞋",   "儿童益智积木", "不锈钢炒锅", "护手霜套装",
                                          "懒人沙发单人",   "LED护眼台灯", "桌面手机支架", "轻便跑步鞋"};
  static const char* const kStyles[] = {"夏季新款", "网红爆款", "官方正品", "限时特价", "家用加厚", "学生宿舍"};
  static const char* const kShops[] = {"优品生活馆", "潮流服饰旗舰店", "数码配件专营店", "居家百货店"};
  static const char* const kIntros[] = {"精选好物，品质保证，拍下立减", "销量领先，回购率高，放心入手",
                                        "限时大额券，手慢无", "新品上市，前一千名半价"};
  std::vector<SeedGoods> goods;
  for (int i = 0; i < 72; ++i) {
    SeedGoods g;
    g.item_id = 560100000000 + i * 7919;
    g.feed = i % 3;
    g.title = std::string(kStyles[(i / 12) % 6]) + kProducts[i % 12];
    g.desc = kIntros[i % 4];
    g.shop_name = kShops[i % 4];
    g.seller_nick = std::string("seller_") + std::to_string(i % 4);
    g.seller_id = 2200000000 + i % 4;
    g.tmall = i % 2 == 0;
    g.price = 19.9 + (i % 10) * 10;
    g.coupon_fee = 5 + (i % 5) * 5;
    g.coupon_start_fee = (i % 4 == 3) ? g.price + 50 : g.price - 1;  // a few thresholds above the price
    g.sales = 100 + i * 137;
    g.coupon_total = 10000;
    g.coupon_left = (i % 9 == 8) ? 0 : 10000 - i * 31;
    g.activity_id = "a" + std::to_string(7000000 + i * 13);
    g.coupon_expire = "2027-01-" + std::to_string(10 + i % 18);
    g.tk_rate = 10 + (i % 8) * 2.5;
    g.max_commission_rate = g.tk_rate + 5.5;
    goods.push_back(g);
  }
  return goods;
}

std::vector<SeedGroup> SeedGroups() {
  SeedGroup clothes{610002001, "精品服饰采集群", {}};
  SeedGroup home{610002002, "居家好物采集群", {}};
  const std::vector<SeedGoods> catalogue = SeedCatalogue();
  for (size_t i = 0; i < 24; ++i) {
    const SeedGoods& g = catalogue[i];
    std::string text = "【" + std::string(g.tmall ? "天猫" : "淘宝") + "】" + g.title + "\n原价" +
                       std::to_string(static_cast<int>(g.price)) + "元，券后" +
                       std::to_string(static_cast<int>(g.price - g.coupon_fee)) +
                       "元\n领券：https://uland.taobao.com/coupon/edetail?activityId=" + g.activity_id +
                       "&itemId=" + std::to_string(g.item_id) + "\n" + g.desc;
    (i % 2 ? home : clothes).messages.push_back(text);
  }
  return {clothes, home};
}

}  // namespace prunko::sandbox
