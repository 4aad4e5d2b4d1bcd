// The saved pool at its full size: 30000 goods written and read back.

#include <benchmark/benchmark.h>

#include "goods/goods_json.h"

namespace prunko {
namespace {

QList<GoodsItem> Pool(int count) {
  QList<GoodsItem> pool;
  pool.reserve(count);
  for (int i = 0; i < count; ++i) {
    GoodsItem g;
    g.item_id = 560000000000 + i;
    g.activity_id = QStringLiteral("a%1b").arg(i);
    g.title = QString::fromUtf8("夏季新款纯棉短袖T恤男宽松百搭 %1").arg(i);
    g.desc = QString::fromUtf8("透气舒适，多色可选，拍下立减，限时优惠，买到就是赚到");
    g.pic_url = QStringLiteral("https://img.alicdn.com/bao/uploaded/i%1/O1CN01abc.jpg").arg(i);
    g.item_url = QStringLiteral("https://item.taobao.com/item.htm?id=%1").arg(g.item_id);
    g.coupon_url = QStringLiteral("https://uland.taobao.com/coupon/edetail?activityId=a%1b&itemId=%2").arg(i).arg(g.item_id);
    g.is_tmall = i % 2 ? GoodsItem::kTmall : GoodsItem::kTaobao;
    g.shop_name = QString::fromUtf8("某某旗舰店");
    g.price_original = 59.9f;
    g.price_discount = 39.9f;
    g.sales = i;
    g.coupon_fee = 20;
    g.coupon_expire = QStringLiteral("2018-01-31");
    g.campaign.commission_rate = 20.5f;
    pool.append(g);
  }
  return pool;
}

void BM_GoodsListToJson(benchmark::State& state) {
  const QList<GoodsItem> pool = Pool(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(GoodsListToJson(pool));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_GoodsListToJson)->Arg(30000)->Unit(benchmark::kMillisecond);

void BM_GoodsListFromJson(benchmark::State& state) {
  const QByteArray text = GoodsListToJson(Pool(static_cast<int>(state.range(0)))).toUtf8();
  for (auto _ : state) benchmark::DoNotOptimize(GoodsListFromJson(text));
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.counters["MiB"] = static_cast<double>(text.size()) / (1 << 20);
}
BENCHMARK(BM_GoodsListFromJson)->Arg(30000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace prunko
