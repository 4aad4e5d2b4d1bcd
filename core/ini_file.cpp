#include "core/ini_file.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include "core/file_util.h"
#include "core/string_util.h"
#include "core/text_convert.h"

namespace prunko {
namespace {

constexpr char kUtf16Bom[] = "\xFF\xFE";

// The section name of a header line ("[name]"), or a null view when the
// line is no header.
QStringView SectionName(QStringView trimmed) {
  if (!trimmed.startsWith(u'[')) return {};
  QStringView name = trimmed.mid(1);
  const qsizetype close = name.indexOf(u']');
  if (close >= 0) name = name.left(close);
  return name.trimmed();
}

bool SameName(QStringView a, QStringView b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

QStringView KeyOf(QStringView trimmed) {
  const qsizetype eq = trimmed.indexOf(u'=');
  return (eq < 0 ? trimmed : trimmed.left(eq)).trimmed();
}

QStringView ValueOf(QStringView trimmed) {
  const qsizetype eq = trimmed.indexOf(u'=');
  if (eq < 0) return {};
  QStringView value = trimmed.mid(eq + 1).trimmed();
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
      value.back() == value.front()) {
    value = value.mid(1, value.size() - 2);
  }
  return value;
}

// What the platform's integer reading makes of a profile value.
int ProfileInteger(QStringView text) {
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (i < n && text[i].unicode() <= u' ') ++i;
  bool negative = false;
  if (i < n && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  unsigned base = 10;
  if (i + 1 < n && text[i] == u'0') {
    const char16_t prefix = text[i + 1].toLower().unicode();
    if (prefix == u'x') base = 16;
    if (prefix == u'o') base = 8;
    if (prefix == u'b') base = 2;
    if (base != 10) i += 2;
  }
  quint32 value = 0;
  for (; i < n; ++i) {
    const int digit = DigitValue(text[i].unicode());
    if (digit < 0 || static_cast<unsigned>(digit) >= base) break;
    value = value * base + static_cast<quint32>(digit);
  }
  return static_cast<int>(negative ? 0u - value : value);
}

}  // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) {
  QFile file(path_);
  if (!file.open(QIODevice::ReadOnly)) return;
  existed_ = true;
  const QByteArray bytes = file.readAll();
  QString text;
  if (bytes.startsWith(kUtf16Bom)) {
    utf16_ = true;
    text = QStringDecoder(QStringConverter::Utf16LE).decode(bytes.mid(2));
  } else {
    text = AnsiToWide(bytes);
  }
  if (text.isEmpty()) return;
  lines_ = text.split(u'\n');
  for (QString& line : lines_) {
    if (line.endsWith(u'\r')) line.chop(1);
  }
  // The final line break leaves one empty piece behind.
  if (lines_.last().isEmpty()) lines_.removeLast();
}

IniFile::Location IniFile::Find(QStringView section, QStringView key) const {
  Location at;
  bool inside = false;
  for (qsizetype i = 0; i < lines_.size(); ++i) {
    const QStringView line = QStringView(lines_[i]).trimmed();
    const QStringView name = SectionName(line);
    if (!name.isNull()) {
      if (inside) break;  // the section ended
      if (SameName(name, section)) {
        inside = true;
        at.section_line = i;
        at.insert_at = i + 1;
      }
      continue;
    }
    if (!inside) continue;
    if (!line.isEmpty()) at.insert_at = i + 1;
    if (line.contains(u'=') && SameName(KeyOf(line), key)) {
      at.key_line = i;
      break;
    }
  }
  return at;
}

QString IniFile::ReadString(QStringView section, QStringView key, const QString& fallback) const {
  const Location at = Find(section, key);
  if (at.key_line < 0) return fallback.left(kMaxValueChars);
  return ValueOf(QStringView(lines_[at.key_line]).trimmed()).left(kMaxValueChars).toString();
}

int IniFile::ReadInt(QStringView section, QStringView key, int fallback) const {
  const QString text = ReadString(section, key);
  if (text.isEmpty()) return fallback;
  return ProfileInteger(text);
}

QStringList IniFile::Keys(QStringView section) const {
  QStringList keys;
  bool inside = false;
  for (const QString& raw : lines_) {
    const QStringView line = QStringView(raw).trimmed();
    const QStringView name = SectionName(line);
    if (!name.isNull()) {
      if (inside) break;
      inside = SameName(name, section);
    } else if (inside && line.contains(u'=')) {
      keys.append(KeyOf(line).toString());
    }
  }
  return keys;
}

void IniFile::WriteString(QStringView section, QStringView key, QStringView value) {
  QString one_line = value.toString();
  one_line.replace(u'\r', u' ').replace(u'\n', u' ');
  const QString line = key.toString() + u'=' + one_line;
  const Location at = Find(section, key);
  if (at.key_line >= 0) {
    lines_[at.key_line] = line;
  } else if (at.section_line >= 0) {
    lines_.insert(at.insert_at, line);
  } else {
    lines_.append(u'[' + section.toString() + u']');
    lines_.append(line);
  }
}

void IniFile::WriteInt(QStringView section, QStringView key, int value) {
  WriteString(section, key, QString::number(value));
}

bool IniFile::Save() const {
  QString text;
  for (const QString& line : lines_) {
    text += line;
    text += QLatin1String("\r\n");
  }
  if (utf16_) {
    return WriteFileBytes(path_, kUtf16Bom + QStringEncoder(QStringConverter::Utf16LE).encode(text));
  }
  return WriteFileBytes(path_, WideToAnsi(text));
}

}  // namespace prunko
