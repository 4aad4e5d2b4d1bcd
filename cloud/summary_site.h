#pragma once

#include <QString>

#include "goods/goods_item.h"

namespace prunko {

// Uploads a sent goods item to the user's own summary site. True when the
// site answered with a status (accepted or not); every step is logged.
bool UploadToSummarySite(const GoodsItem& item, const QString& tao_password);

}  // namespace prunko
