#pragma once

#include <QString>

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

namespace prunko {

// Builds the small JSON texts the cloud requests carry: members in the order
// written, no white space, text escaped, numbers in the given printf form.
class JsonText {
 public:
  JsonText() : writer_(buffer_) { writer_.StartObject(); }

  JsonText& Text(const char* key, const QString& value);
  // A number written with a printf format ("%lld", "%.2f" ...).
  template <typename T>
  JsonText& Number(const char* key, const char* format, T value) {
    char digits[64];
    const int n = std::snprintf(digits, sizeof digits, format, value);
    writer_.Key(key);
    writer_.RawValue(digits, static_cast<size_t>(n), rapidjson::kNumberType);
    return *this;
  }
  // A number written inside quotation marks.
  template <typename T>
  JsonText& QuotedNumber(const char* key, const char* format, T value) {
    char digits[64];
    const int n = std::snprintf(digits, sizeof digits, format, value);
    writer_.Key(key);
    writer_.String(digits, static_cast<rapidjson::SizeType>(n));
    return *this;
  }

  QString Finish();

 private:
  rapidjson::StringBuffer buffer_;
  rapidjson::Writer<rapidjson::StringBuffer> writer_;
};

}  // namespace prunko
