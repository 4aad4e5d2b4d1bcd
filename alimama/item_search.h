#pragma once

#include <QList>

#include "goods/goods_item.h"

namespace prunko {

// Finds the item with the publisher search: fills item and shop data and
// appends the commission offers it shows (general or marketing, Queqiao,
// directed), in that order. Retries twice, 15 s apart, while the site is busy.
int SearchItem(qint64 item_id, GoodsItem& item, QList<CommissionCampaign>& campaigns);

}  // namespace prunko
