#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

#include <rapidjson/document.h>

namespace prunko {

// Replies of the outside services arrive as ANSI text (the HTTP client's
// body_text). They are parsed as UTF-8 after converting back, so a trail byte
// 0x5C of a double-byte code page never reads as a backslash.
// False when the text is no JSON.
bool ParseAnsiJson(const QByteArray& ansi, rapidjson::Document& doc);

// `text` as it stands between the quotation marks of a JSON string.
QString JsonEscaped(const QString& text);

// A member counts only with the expected JSON type; anything else is absent.
namespace json {
std::optional<int> Int(const rapidjson::Value& object, const char* key);
std::optional<qint64> Int64(const rapidjson::Value& object, const char* key);
std::optional<double> Number(const rapidjson::Value& object, const char* key);
// A number written with a fraction or an exponent (an integral one such as 5
// does not count) that fits a 32-bit float.
std::optional<float> Float(const rapidjson::Value& object, const char* key);
std::optional<QString> String(const rapidjson::Value& object, const char* key);
const rapidjson::Value* Object(const rapidjson::Value& object, const char* key);
const rapidjson::Value* Array(const rapidjson::Value& object, const char* key);
}  // namespace json

}  // namespace prunko
