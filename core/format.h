#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <span>
#include <type_traits>

namespace prunko {

// One argument of a printf-style format. Built implicitly from numbers and
// texts, so a format can never read an argument of the wrong size.
class FormatArg {
 public:
  enum class Kind { kSigned, kUnsigned, kDouble, kText };

  template <typename T>
    requires(std::is_integral_v<T> && std::is_signed_v<T> && !std::is_same_v<T, char>)
  FormatArg(T v) : kind_(Kind::kSigned), signed_(v) {}
  template <typename T>
    requires(std::is_integral_v<T> && std::is_unsigned_v<T> && !std::is_same_v<T, bool>)
  FormatArg(T v) : kind_(Kind::kUnsigned), unsigned_(v) {}
  FormatArg(bool v) : kind_(Kind::kSigned), signed_(v ? 1 : 0) {}
  FormatArg(char v) : kind_(Kind::kSigned), signed_(static_cast<unsigned char>(v)) {}
  FormatArg(QChar v) : kind_(Kind::kUnsigned), unsigned_(v.unicode()) {}
  FormatArg(double v) : kind_(Kind::kDouble), double_(v) {}
  FormatArg(float v) : kind_(Kind::kDouble), double_(v) {}
  FormatArg(const QString& v) : kind_(Kind::kText), text_(v) {}
  FormatArg(QStringView v) : kind_(Kind::kText), text_(v.toString()) {}
  FormatArg(const char16_t* v) : kind_(Kind::kText), text_(QString::fromUtf16(v)) {}
  // Narrow literals in the source are UTF-8.
  FormatArg(const char* v) : kind_(Kind::kText), text_(QString::fromUtf8(v)) {}

  Kind kind() const { return kind_; }
  long long AsSigned() const;
  unsigned long long AsUnsigned() const;
  double AsDouble() const;
  QString AsText() const;

 private:
  Kind kind_;
  long long signed_ = 0;
  unsigned long long unsigned_ = 0;
  double double_ = 0;
  QString text_;
};

// The formats' buffer: at most kFormatBufferChars - 1 characters are kept.
inline constexpr qsizetype kFormatBufferChars = 40960;

// printf-style formatting into wide text, following the C wide printf rules
// for the directives the system's texts use: %s %d %i %u %x %X %o %c %f %e %g
// %p %% with flags, width, precision ("*" too) and any length modifier
// (%lld, %ld, %I64d ...). A directive without an argument is copied as it
// stands. The result is cut to max_chars characters.
QString FormatArgs(QStringView format, std::span<const FormatArg> args, qsizetype max_chars);

template <typename... Args>
QString FormatString(QStringView format, const Args&... args) {
  const std::array<FormatArg, sizeof...(Args)> list{FormatArg(args)...};
  return FormatArgs(format, list, kFormatBufferChars - 1);
}

}  // namespace prunko
