#include "core/format.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace prunko {

long long FormatArg::AsSigned() const {
  switch (kind_) {
    case Kind::kSigned: return signed_;
    case Kind::kUnsigned: return static_cast<long long>(unsigned_);
    case Kind::kDouble: return static_cast<long long>(double_);
    case Kind::kText: return 0;
  }
  return 0;
}

unsigned long long FormatArg::AsUnsigned() const {
  switch (kind_) {
    case Kind::kSigned: return static_cast<unsigned long long>(signed_);
    case Kind::kUnsigned: return unsigned_;
    case Kind::kDouble: return static_cast<unsigned long long>(static_cast<long long>(double_));
    case Kind::kText: return 0;
  }
  return 0;
}

double FormatArg::AsDouble() const {
  switch (kind_) {
    case Kind::kSigned: return static_cast<double>(signed_);
    case Kind::kUnsigned: return static_cast<double>(unsigned_);
    case Kind::kDouble: return double_;
    case Kind::kText: return 0;
  }
  return 0;
}

QString FormatArg::AsText() const {
  switch (kind_) {
    case Kind::kSigned: return QString::number(signed_);
    case Kind::kUnsigned: return QString::number(unsigned_);
    case Kind::kDouble: return QString::number(double_);
    case Kind::kText: return text_;
  }
  return {};
}

namespace {

// Width and precision beyond this are taken as this: nothing the system
// formats needs more, and the result is cut to the buffer anyway.
constexpr int kMaxFieldWidth = 1 << 16;

struct Spec {
  std::string flags;
  int width = -1;
  int precision = -1;
  char16_t conversion = 0;
};

bool IsFlag(char16_t c) { return c == u'-' || c == u'+' || c == u' ' || c == u'#' || c == u'0'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsLengthChar(char16_t c) {
  return c == u'h' || c == u'l' || c == u'L' || c == u'q' || c == u'j' || c == u'z' || c == u't' ||
         c == u'w' || c == u'I' || c == u'3' || c == u'2' || c == u'6' || c == u'4';
}

class Formatter {
 public:
  Formatter(QStringView format, std::span<const FormatArg> args, qsizetype max_chars)
      : format_(format), args_(args), max_chars_(max_chars) {}

  QString Run() {
    const qsizetype n = format_.size();
    qsizetype i = 0;
    while (i < n && out_.size() < max_chars_) {
      const qsizetype percent = format_.indexOf(u'%', i);
      if (percent < 0) {
        out_.append(format_.mid(i));
        break;
      }
      out_.append(format_.mid(i, percent - i));
      i = HandleDirective(percent);
    }
    if (out_.size() > max_chars_) out_.truncate(max_chars_);
    return out_;
  }

 private:
  // Handles the directive at `start` (a "%"); returns where the text goes on.
  qsizetype HandleDirective(qsizetype start) {
    const qsizetype n = format_.size();
    qsizetype i = start + 1;
    Spec d;
    while (i < n && IsFlag(format_[i].unicode())) d.flags += static_cast<char>(format_[i++].unicode());
    bool missing = false;
    d.width = ReadNumber(i, &missing);
    if (i < n && format_[i] == u'.') {
      ++i;
      d.precision = std::max(0, ReadNumber(i, &missing));
    }
    // %I64d: the digits of I64/I32 belong to the length modifier.
    while (i < n && IsLengthChar(format_[i].unicode())) ++i;
    if (i >= n) {
      out_.append(format_.mid(start));
      return n;
    }
    d.conversion = format_[i].unicode();
    ++i;
    if (d.conversion == u'%') {
      out_.append(u'%');
      return i;
    }
    if (missing || !Emit(d)) out_.append(format_.mid(start, i - start));
    return i;
  }

  // A width or precision: digits, or "*" taken from the arguments. Returns -1
  // when absent; a "*" with no argument left sets *missing.
  int ReadNumber(qsizetype& i, bool* missing) {
    const qsizetype n = format_.size();
    if (i < n && format_[i] == u'*') {
      ++i;
      if (next_ >= args_.size()) {
        *missing = true;
        return -1;
      }
      const long long v = args_[next_++].AsSigned();
      return static_cast<int>(std::clamp<long long>(v, -kMaxFieldWidth, kMaxFieldWidth));
    }
    if (i >= n || !IsDigit(format_[i].unicode())) return -1;
    long long v = 0;
    while (i < n && IsDigit(format_[i].unicode())) {
      v = std::min<long long>(v * 10 + (format_[i].unicode() - u'0'), kMaxFieldWidth);
      ++i;
    }
    return static_cast<int>(v);
  }

  bool Emit(Spec& d) {
    // A negative "*" width means left-justified.
    if (d.width < -1) {
      d.flags += '-';
      d.width = -d.width;
    }
    switch (d.conversion) {
      case u'd': case u'i':
      case u'u': case u'x': case u'X': case u'o':
      case u'f': case u'F': case u'e': case u'E': case u'g': case u'G': case u'a': case u'A':
      case u'p':
        return EmitNumber(d);
      case u's': case u'S': case u'Z':
        return EmitText(d);
      case u'c': case u'C':
        return EmitChar(d);
      default:
        return false;
    }
  }

  bool EmitNumber(const Spec& d) {
    if (next_ >= args_.size()) return false;
    const FormatArg& arg = args_[next_++];
    std::string spec = "%" + d.flags;
    if (d.width >= 0) spec += std::to_string(d.width);
    if (d.precision >= 0) spec += "." + std::to_string(d.precision);
    const char conv = static_cast<char>(d.conversion);
    std::string text;
    switch (conv) {
      case 'd': case 'i':
        text = Print(spec + "ll" + conv, arg.AsSigned());
        break;
      case 'u': case 'x': case 'X': case 'o':
        text = Print(spec + "ll" + conv, arg.AsUnsigned());
        break;
      case 'p':
        text = Print("%" + d.flags + (d.width >= 0 ? std::to_string(d.width) : "") + "llX",
                     arg.AsUnsigned());
        break;
      default:
        text = Print(spec + conv, arg.AsDouble());
        break;
    }
    out_.append(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    return true;
  }

  template <typename T>
  static std::string Print(const std::string& spec, T value) {
    const int needed = std::snprintf(nullptr, 0, spec.c_str(), value);
    if (needed <= 0) return {};
    std::string buffer(static_cast<size_t>(needed) + 1, '\0');
    std::snprintf(buffer.data(), buffer.size(), spec.c_str(), value);
    buffer.resize(static_cast<size_t>(needed));
    return buffer;
  }

  bool EmitText(const Spec& d) {
    if (next_ >= args_.size()) return false;
    QString text = args_[next_++].AsText();
    if (d.precision >= 0 && text.size() > d.precision) text.truncate(d.precision);
    Pad(text, d);
    return true;
  }

  bool EmitChar(const Spec& d) {
    if (next_ >= args_.size()) return false;
    const FormatArg& arg = args_[next_++];
    QString text = arg.kind() == FormatArg::Kind::kText
                       ? arg.AsText().left(1)
                       : QString(QChar(static_cast<char16_t>(arg.AsUnsigned())));
    Pad(text, d);
    return true;
  }

  void Pad(const QString& text, const Spec& d) {
    const qsizetype fill = std::max<qsizetype>(0, d.width - text.size());
    const bool left = d.flags.find('-') != std::string::npos;
    if (!left) out_.append(QString(fill, u' '));
    out_.append(text);
    if (left) out_.append(QString(fill, u' '));
  }

  QStringView format_;
  std::span<const FormatArg> args_;
  qsizetype max_chars_;
  size_t next_ = 0;
  QString out_;
};

}  // namespace

QString FormatArgs(QStringView format, std::span<const FormatArg> args, qsizetype max_chars) {
  return Formatter(format, args, std::max<qsizetype>(0, max_chars)).Run();
}

}  // namespace prunko
