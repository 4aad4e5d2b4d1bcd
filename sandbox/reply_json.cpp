#include "sandbox/reply_json.h"

#include <QCryptographicHash>
#include <QString>

#include <cstdio>

namespace prunko::sandbox {

ReplyJson::ReplyJson(bool ascii_only) : ascii_only_(ascii_only), utf8_(buffer_), ascii_(buffer_) {}

ReplyJson& ReplyJson::Key(const char* key) {
  return Write([&](auto& w) { w.Key(key); });
}
ReplyJson& ReplyJson::Str(const std::string& value) {
  return Write([&](auto& w) { w.String(value.data(), static_cast<rapidjson::SizeType>(value.size())); });
}
ReplyJson& ReplyJson::Int(int64_t value) {
  return Write([&](auto& w) { w.Int64(value); });
}
ReplyJson& ReplyJson::Bool(bool value) {
  return Write([&](auto& w) { w.Bool(value); });
}
ReplyJson& ReplyJson::Double(double value) {
  return Write([&](auto& w) { w.Double(value); });
}
ReplyJson& ReplyJson::StartObject() {
  return Write([](auto& w) { w.StartObject(); });
}
ReplyJson& ReplyJson::EndObject() {
  return Write([](auto& w) { w.EndObject(); });
}
ReplyJson& ReplyJson::StartArray() {
  return Write([](auto& w) { w.StartArray(); });
}
ReplyJson& ReplyJson::EndArray() {
  return Write([](auto& w) { w.EndArray(); });
}

std::string ReplyJson::Text() { return std::string(buffer_.GetString(), buffer_.GetSize()); }

std::string Money(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

std::string ShortCode(const std::string& text, size_t length) {
  static const char kAlphabet[] = "ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz23456789";
  uint64_t h = 1469598103934665603ULL;  // FNV-1a
  for (const unsigned char c : text) h = (h ^ c) * 1099511628211ULL;
  std::string code;
  for (size_t i = 0; i < length; ++i, h /= 57) code += kAlphabet[h % 57];
  return code;
}

std::string StatusReply(int status, const std::string& msg) {
  return ReplyJson().StartObject().Key("status").Int(status).Key("msg").Str(msg).EndObject().Text();
}

std::string ServiceSign(const std::string& utf8_source) {
  const QString text = QString::fromUtf8(utf8_source.data(), static_cast<qsizetype>(utf8_source.size()));
  QByteArray units;
  for (const QChar c : text) units.append(static_cast<char>(c.unicode() & 0xFF));
  return QCryptographicHash::hash(units, QCryptographicHash::Md5).toHex().toStdString();
}

}  // namespace prunko::sandbox
