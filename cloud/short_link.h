#pragma once

#include <QString>

namespace prunko {

enum ShortLinkResult { kShortLinkAnswered = 0, kShortLinkUnreachable = 1, kShortLinkBadReply = 2 };

// The maker's short link for a goods page; `link` is empty when the service
// answered without one.
int MakeShortLink(const QString& url, const QString& title, const QString& pic_url, float price, float coupon,
                  QString& link);

}  // namespace prunko
