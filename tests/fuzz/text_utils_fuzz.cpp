// Hostile text through the conversions and URL helpers that see server replies.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

#include "core/format.h"
#include "core/string_util.h"
#include "core/text_convert.h"
#include "core/url_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace prunko;
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString wide = UnescapeUnicode(bytes);
  const QString as_utf8 = QString::fromUtf8(bytes);
  UrlDecode(as_utf8);
  UrlDecode(wide);
  if (UrlDecode(UrlEncode(wide)) != wide) {
    // Lone surrogate halves are the one thing the round trip may change.
    bool lone = false;
    for (qsizetype i = 0; i < wide.size(); ++i) lone |= wide[i].isSurrogate();
    if (!lone) __builtin_trap();
  }
  GetUrlParam(as_utf8, u"id");
  SplitString(as_utf8, u"&");
  WideToLong(as_utf8);
  AnsiToUtf8(bytes);
  Utf8ToAnsi(bytes);
  // The format itself coming from outside must never read past its arguments.
  FormatString(as_utf8, 1, u"text", 2.5);
  return 0;
}
