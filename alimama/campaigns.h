#pragma once

#include <QList>
#include <QString>

#include "goods/goods_item.h"

namespace prunko {

// Completes the directed campaigns of the list from the shop's own list
// (names, shop keeper, audit, the user's earlier application).
int GetShopCampaigns(qint64 seller_id, QList<CommissionCampaign>& campaigns);

// The directed campaign of the seller's shop that the user has joined; its
// application_id stays 0 when there is none.
int GetJoinedCampaign(CommissionCampaign& joined, const QString& seller_nick);

// Applies for a directed campaign (three attempts while the site is busy).
// "已经申请过" counts as success, "页面失效" is TokenExpired.
int ApplyCampaign(qint64 shop_keeper_id, qint64 campaign_id);

// Leaves a joined campaign.
int ExitCampaign(qint64 application_id);

// The item's data and its best campaign: from the cloud's item cache when it
// holds a commission, else from the search and the shop's campaigns, then
// stored in the cache. Ties go to the later offer; offers that need the
// shop's approval are never chosen.
int FindHighestCommission(qint64 item_id, GoodsItem& item, QList<CommissionCampaign>& campaigns, bool& from_cache);

// Finds the best campaign and acts on it: applies for a directed one, or,
// when the general commission is best, leaves the shop's directed campaigns
// applied for earlier.
int ApplyHighestCommission(qint64 item_id, CommissionCampaign& campaign);

}  // namespace prunko
