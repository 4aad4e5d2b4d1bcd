#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <span>

#include <rapidjson/document.h>

#include "goods/goods_item.h"

namespace prunko {

// The goods-list document of the cloud feeds, the web page's batch call and
// the saved pool file: {"status":200,"data":[{goods}, ...]}, every goods value
// a JSON string (numbers too; "is_tmall" is "True" or "False"). The narrow
// JSON text arrives in the ANSI code page and is parsed as UTF-8.

// A goods object of a document parsed from UTF-8 text; nothing when `value`
// is no object or has no "item_id".
// Members of the wrong type read as 0 or empty text; a missing "post_free"
// reads as 1 and a missing "is_tmall" as Tmall.
std::optional<GoodsItem> GoodsFromJson(const rapidjson::Value& value);

// The goods of a document's "data" array, skipping elements that are no
// goods object; nothing when the text is no such document.
std::optional<QList<GoodsItem>> GoodsListFromJson(const QByteArray& ansi_json);

// One goods object as written into the pool file (members in a fixed order,
// no white space, prices and rates with one decimal).
QString GoodsToJson(const GoodsItem& item);
// The whole document.
QString GoodsListToJson(std::span<const GoodsItem> items);

}  // namespace prunko
