#pragma once

#include <QByteArray>
#include <QString>

#include "net/http_client.h"

namespace prunko {

// Every cloud request that carries "appkey" sends this.
inline constexpr char16_t kCloudAppKey[] = u"kwestal";
// Opens the signature sources (a few are marked otherwise).
inline constexpr char16_t kCloudSaltWord[] = u"zept";

// The outcome of the cloud requests that report more than a value.
struct CloudResult {
  enum Code { kOk = 0, kRefused = 1, kUnreachable = 2, kBadReply = 3 };
  int code = kOk;
  QString message;
};

inline constexpr char16_t kCloudUnreachableText[] = u"无法连接API服务器";
inline constexpr char16_t kCloudBadReplyText[] = u"解析数据错误";

// The "sign" of a request: Md5Hex of its source text.
QString CloudSign(const QString& source);

// Posts a form body (UTF-16; the client passes it through the code pages).
bool CloudPost(const QString& url, const QString& body, HttpResponse& response);

}  // namespace prunko
