// Goods lists come from the cloud feeds, the web page and the pool file.

#include <QByteArray>

#include <cstddef>
#include <cstdint>

#include "goods/goods_json.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace prunko;
  const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const auto goods = GoodsListFromJson(text);
  if (!goods) return 0;
  // Whatever was read writes back as a document that reads again.
  const auto again = GoodsListFromJson(GoodsListToJson(*goods).toUtf8());
  if (!again || again->size() != goods->size()) __builtin_trap();
  return 0;
}
