#include "core/json_reply.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cmath>
#include <limits>

#include "core/text_convert.h"

namespace prunko {
namespace {

const rapidjson::Value* Member(const rapidjson::Value& object, const char* key) {
  if (!object.IsObject()) return nullptr;
  const auto it = object.FindMember(key);
  return it == object.MemberEnd() ? nullptr : &it->value;
}

}  // namespace

bool ParseAnsiJson(const QByteArray& ansi, rapidjson::Document& doc) {
  const QByteArray utf8 = AnsiToUtf8(ansi);
  doc.Parse(utf8.constData(), static_cast<size_t>(utf8.size()));
  return !doc.HasParseError();
}

QString JsonEscaped(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  rapidjson::StringBuffer buffer;
  rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
  writer.String(utf8.constData(), static_cast<rapidjson::SizeType>(utf8.size()));
  // Without the surrounding quotation marks.
  return QString::fromUtf8(buffer.GetString() + 1, static_cast<qsizetype>(buffer.GetSize()) - 2);
}

namespace json {

std::optional<int> Int(const rapidjson::Value& object, const char* key) {
  const rapidjson::Value* v = Member(object, key);
  if (!v || !v->IsInt()) return std::nullopt;
  return v->GetInt();
}

std::optional<qint64> Int64(const rapidjson::Value& object, const char* key) {
  const rapidjson::Value* v = Member(object, key);
  if (!v || !v->IsInt64()) return std::nullopt;
  return v->GetInt64();
}

std::optional<double> Number(const rapidjson::Value& object, const char* key) {
  const rapidjson::Value* v = Member(object, key);
  if (!v || !v->IsNumber()) return std::nullopt;
  return v->GetDouble();
}

std::optional<float> Float(const rapidjson::Value& object, const char* key) {
  const rapidjson::Value* v = Member(object, key);
  if (!v || !v->IsDouble() || std::fabs(v->GetDouble()) > std::numeric_limits<float>::max()) return std::nullopt;
  return static_cast<float>(v->GetDouble());
}

std::optional<QString> String(const rapidjson::Value& object, const char* key) {
  const rapidjson::Value* v = Member(object, key);
  if (!v || !v->IsString()) return std::nullopt;
  return QString::fromUtf8(v->GetString(), static_cast<qsizetype>(v->GetStringLength()));
}

const rapidjson::Value* Object(const rapidjson::Value& object, const char* key) {
  const rapidjson::Value* v = Member(object, key);
  return v && v->IsObject() ? v : nullptr;
}

const rapidjson::Value* Array(const rapidjson::Value& object, const char* key) {
  const rapidjson::Value* v = Member(object, key);
  return v && v->IsArray() ? v : nullptr;
}

}  // namespace json
}  // namespace prunko
