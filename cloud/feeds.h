#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "net/http_client.h"

namespace prunko {

// The three goods feeds of the cloud service.
struct FeedSource {
  const char16_t* display_name;
  const char16_t* request_path;  // after the cloud API base
  const char16_t* web_page;      // on the product pages; null when none
};
extern const FeedSource kFeedSources[3];

// Posts the feed request with its filters; the reply is a goods list.
bool FetchFeed(const FeedSource& feed, int tmall_only, int min_sales, int min_price, HttpResponse& response);

// One collection group ("精品采集群").
struct CollectionGroup {
  qint64 uin = 0;
  QString name;
  int maxid = 0;  // the last message already fetched
  bool operator==(const CollectionGroup&) const = default;
};

enum GroupsListResult { kGroupsListed = 0, kGroupsUnreachable = 1, kGroupsBadReply = 2 };
// The groups, each starting ten messages before its newest.
int FetchGroups(QList<CollectionGroup>& groups);

// The relay's codes, and the client's own for failures.
enum GroupMessagesCode {
  kGroupMessagesUnreachable = -1,
  kGroupMessagesBadReply = -2,
  kGroupMessagesNew = 1001,
  kGroupMessagesFailed = 1002,
  kGroupMessagesBadParameter = 1003,
};
// The messages after group.maxid, which moves on to the newest. On a
// transport failure `error_text` says why.
int FetchGroupMessages(CollectionGroup& group, QStringList& messages, QString& error_text);

}  // namespace prunko
