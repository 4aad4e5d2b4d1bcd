#include "core/url_util.h"

#include "core/string_util.h"
#include "core/text_convert.h"

namespace prunko {
namespace {

int HexDigit(QChar c) {
  const int value = DigitValue(c.unicode());
  return value < 16 ? value : -1;
}

bool IsKept(char16_t u) {
  return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9');
}

// The two characters after a "%" read as hexadecimal as far as they go:
// "4g" is 4, "g4" is 0.
int EscapedByte(QChar high, QChar low) {
  const int h = HexDigit(high);
  if (h < 0) return 0;
  const int l = HexDigit(low);
  return l < 0 ? h : h * 16 + l;
}

// Collects the bytes of one UTF-8 sequence.
class Utf8Sequence {
 public:
  // Feeds one escaped byte; appends to `out` whatever it completes.
  void Feed(int byte, QString& out) {
    if (byte < 0x80) {
      Clear();
      out.append(QChar(static_cast<char16_t>(byte)));
    } else if (byte < 0xC0) {
      if (pending_ == 0) return;  // a continuation with nothing to continue
      value_ = (value_ << 6) | static_cast<char32_t>(byte & 0x3F);
      if (--pending_ == 0) Append(out);
    } else if (byte < 0xE0) {
      Start(byte & 0x1F, 1);
    } else if (byte < 0xF0) {
      Start(byte & 0x0F, 2);
    } else if (byte < 0xF8) {
      Start(byte & 0x07, 3);
    } else {
      Clear();
    }
  }
  void Clear() { pending_ = 0; }

 private:
  void Start(int bits, int continuations) {
    value_ = static_cast<char32_t>(bits);
    pending_ = continuations;
  }
  void Append(QString& out) const {
    if (value_ > 0x10FFFF) return;
    if (value_ >= 0x10000) {
      out.append(QChar(QChar::highSurrogate(value_)));
      out.append(QChar(QChar::lowSurrogate(value_)));
    } else {
      out.append(QChar(static_cast<char16_t>(value_)));
    }
  }

  char32_t value_ = 0;
  int pending_ = 0;
};

}  // namespace

QString UrlEncode(QStringView text) {
  static constexpr char kHex[] = "0123456789abcdef";
  QString out;
  out.reserve(text.size() * 3);
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (i < n) {
    const qsizetype run_start = i;
    while (i < n && !IsKept(text[i].unicode())) ++i;
    if (i > run_start) {
      for (const char byte : Utf8OfUnits(text.mid(run_start, i - run_start))) {
        const auto b = static_cast<unsigned char>(byte);
        out.append(u'%');
        out.append(QLatin1Char(kHex[b >> 4]));
        out.append(QLatin1Char(kHex[b & 0x0F]));
      }
    }
    while (i < n && IsKept(text[i].unicode())) out.append(text[i++]);
  }
  return out;
}

QString UrlDecode(QStringView text) {
  QString out;
  out.reserve(text.size());
  Utf8Sequence sequence;
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = text[i];
    if (c == u'%' && i + 2 < n) {
      sequence.Feed(EscapedByte(text[i + 1], text[i + 2]), out);
      i += 2;
    } else {
      sequence.Clear();
      out.append(c);
    }
  }
  return out;
}

QString GetUrlParam(QStringView url, QStringView name) {
  const QString key = name.toString() + u'=';
  const qsizetype at = url.indexOf(key);
  if (at < 0) return {};
  if (at > 0 && url[at - 1] != u'?' && url[at - 1] != u'&') return {};
  const qsizetype start = at + key.size();
  qsizetype end = url.indexOf(u'&', start);
  if (end < 0) end = url.indexOf(u'#', start);
  if (end < 0) end = url.size();
  return url.mid(start, end - start).toString();
}

}  // namespace prunko
