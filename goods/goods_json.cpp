#include "goods/goods_json.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cstdio>
#include <cstdlib>

#include "core/text_convert.h"

namespace prunko {
namespace {

using JsonWriter = rapidjson::Writer<rapidjson::StringBuffer>;

// The member's text when it is a JSON string, else "".
const char* Text(const rapidjson::Value& object, const char* key) {
  const auto it = object.FindMember(key);
  if (it == object.MemberEnd() || !it->value.IsString()) return "";
  return it->value.GetString();
}

QString Wide(const rapidjson::Value& object, const char* key) {
  const auto it = object.FindMember(key);
  if (it == object.MemberEnd() || !it->value.IsString()) return {};
  return QString::fromUtf8(it->value.GetString(), static_cast<qsizetype>(it->value.GetStringLength()));
}

// The C library's conversions: leading digits, 0 when there are none.
qint64 Int64(const rapidjson::Value& object, const char* key) { return std::strtoll(Text(object, key), nullptr, 10); }
int Int32(const rapidjson::Value& object, const char* key) {
  return static_cast<int>(std::strtol(Text(object, key), nullptr, 10));
}
float Float(const rapidjson::Value& object, const char* key) {
  return static_cast<float>(std::strtod(Text(object, key), nullptr));
}

void Member(JsonWriter& w, const char* key, const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  w.Key(key);
  w.String(utf8.constData(), static_cast<rapidjson::SizeType>(utf8.size()));
}

template <typename T>
void Member(JsonWriter& w, const char* key, const char* format, T value) {
  char buffer[64];
  const int n = std::snprintf(buffer, sizeof buffer, format, value);
  w.Key(key);
  w.String(buffer, static_cast<rapidjson::SizeType>(n));
}

void WriteGoods(JsonWriter& w, const GoodsItem& g) {
  w.StartObject();
  Member(w, "item_id", "%lld", static_cast<long long>(g.item_id));
  Member(w, "activity_id", g.activity_id);
  Member(w, "title", g.title);
  Member(w, "desc", g.desc);
  Member(w, "item_url", g.item_url);
  Member(w, "pic_url", g.pic_url);
  Member(w, "pic_url_2", g.pic_url_2);
  Member(w, "coupon_url", g.coupon_url);
  Member(w, "is_tmall", "%s", g.is_tmall == GoodsItem::kTaobao ? "False" : "True");
  Member(w, "shop_name", g.shop_name);
  Member(w, "post_free", "%d", g.post_free);
  Member(w, "price_original", "%.1f", static_cast<double>(g.price_original));
  Member(w, "price_discount", "%.1f", static_cast<double>(g.price_discount));
  Member(w, "sales", "%d", g.sales);
  Member(w, "tk_rate", "%.1f", static_cast<double>(g.campaign.commission_rate));
  Member(w, "me_code", g.me_code);
  Member(w, "coupon_start_fee", "%.1f", static_cast<double>(g.coupon_start_fee));
  Member(w, "coupon_fee", "%.1f", static_cast<double>(g.coupon_fee));
  Member(w, "coupon_count", "%d", g.coupon_count);
  Member(w, "coupon_surplus", "%d", g.coupon_surplus);
  Member(w, "coupon_expire", g.coupon_expire);
  w.EndObject();
}

QString Finished(const rapidjson::StringBuffer& buffer) {
  return QString::fromUtf8(buffer.GetString(), static_cast<qsizetype>(buffer.GetSize()));
}

}  // namespace

std::optional<GoodsItem> GoodsFromJson(const rapidjson::Value& value) {
  if (!value.IsObject() || !value.HasMember("item_id")) return std::nullopt;
  GoodsItem g;
  g.item_id = Int64(value, "item_id");
  g.activity_id = Wide(value, "activity_id");
  g.title = Wide(value, "title");
  g.desc = Wide(value, "desc");
  g.item_url = Wide(value, "item_url");
  g.pic_url = Wide(value, "pic_url");
  g.pic_url_2 = Wide(value, "pic_url_2");
  g.coupon_url = Wide(value, "coupon_url");
  g.shop_name = Wide(value, "shop_name");
  g.me_code = Wide(value, "me_code");
  g.coupon_expire = Wide(value, "coupon_expire");
  g.is_tmall = std::strcmp(Text(value, "is_tmall"), "False") == 0 ? GoodsItem::kTaobao : GoodsItem::kTmall;
  g.post_free = value.HasMember("post_free") ? Int32(value, "post_free") : 1;
  g.price_original = Float(value, "price_original");
  g.price_discount = Float(value, "price_discount");
  g.campaign.commission_rate = Float(value, "tk_rate");
  g.coupon_start_fee = Float(value, "coupon_start_fee");
  g.coupon_fee = Float(value, "coupon_fee");
  g.sales = Int32(value, "sales");
  g.coupon_count = Int32(value, "coupon_count");
  g.coupon_surplus = Int32(value, "coupon_surplus");
  return g;
}

std::optional<QList<GoodsItem>> GoodsListFromJson(const QByteArray& ansi_json) {
  // Parsed as UTF-8: a trail byte 0x5C of a double-byte code page would
  // otherwise read as a backslash, and \u escapes would not fit the code page.
  const QByteArray utf8 = AnsiToUtf8(ansi_json);
  rapidjson::Document doc;
  doc.Parse(utf8.constData(), static_cast<size_t>(utf8.size()));
  if (doc.HasParseError() || !doc.IsObject()) return std::nullopt;
  const auto data = doc.FindMember("data");
  if (data == doc.MemberEnd() || !data->value.IsArray()) return std::nullopt;
  QList<GoodsItem> items;
  items.reserve(data->value.Size());
  for (const rapidjson::Value& element : data->value.GetArray()) {
    if (auto goods = GoodsFromJson(element)) items.append(std::move(*goods));
  }
  return items;
}

QString GoodsToJson(const GoodsItem& item) {
  rapidjson::StringBuffer buffer;
  JsonWriter writer(buffer);
  WriteGoods(writer, item);
  return Finished(buffer);
}

QString GoodsListToJson(std::span<const GoodsItem> items) {
  rapidjson::StringBuffer buffer;
  JsonWriter writer(buffer);
  writer.StartObject();
  writer.Key("status");
  writer.Int(200);
  writer.Key("data");
  writer.StartArray();
  for (const GoodsItem& item : items) WriteGoods(writer, item);
  writer.EndArray();
  writer.EndObject();
  return Finished(buffer);
}

}  // namespace prunko
