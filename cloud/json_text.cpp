#include "cloud/json_text.h"

namespace prunko {

JsonText& JsonText::Text(const char* key, const QString& value) {
  const QByteArray utf8 = value.toUtf8();
  writer_.Key(key);
  writer_.String(utf8.constData(), static_cast<rapidjson::SizeType>(utf8.size()));
  return *this;
}

QString JsonText::Finish() {
  writer_.EndObject();
  return QString::fromUtf8(buffer_.GetString(), static_cast<qsizetype>(buffer_.GetSize()));
}

}  // namespace prunko
