#include "cloud/cloud_common.h"

#include "core/digest.h"

namespace prunko {

QString CloudSign(const QString& source) { return Md5Hex(source); }

bool CloudPost(const QString& url, const QString& body, HttpResponse& response) {
  return HttpClient().Post(url, body, QString(), QString(), response);
}

}  // namespace prunko
