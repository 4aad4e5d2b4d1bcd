#pragma once

#include "goods/goods_item.h"

namespace prunko {

// The cloud's shared cache of item data and chosen commission campaigns.
enum ItemCacheResult { kItemCached = 0, kItemCacheUnreachable = 1, kItemCacheBadReply = 2, kItemNotCached = 11 };

// Fills what the cache holds of the item (its campaign included).
int QueryItemCache(qint64 item_id, GoodsItem& item);
// Stores the item and its chosen campaign; true when the post completed.
bool UpdateItemCache(qint64 item_id, const GoodsItem& item);

}  // namespace prunko
