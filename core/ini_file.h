#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace prunko {

// An INI file that reads back the way the Windows private-profile functions
// read it: section and key names match without regard to case, names and
// values are trimmed, one pair of surrounding quotes is dropped from a value,
// and a value keeps at most 511 characters (their 512-character buffer).
// Writing changes only the line of the key it writes; every other line of the
// file stays as it was. The text is in the ANSI code page, or UTF-16 when the
// file starts with the UTF-16 byte-order mark.
class IniFile {
 public:
  static constexpr qsizetype kMaxValueChars = 511;

  // Reads `path`; a missing file is an empty one.
  explicit IniFile(QString path);

  bool existed() const { return existed_; }

  // The value, or `fallback` when the key is missing.
  QString ReadString(QStringView section, QStringView key, const QString& fallback = {}) const;
  // The value's leading integer (decimal, or 0x / 0o / 0b prefixed, with an
  // optional sign); `fallback` when the key is missing or empty.
  int ReadInt(QStringView section, QStringView key, int fallback) const;

  // The names of a section's keys, in file order.
  QStringList Keys(QStringView section) const;

  // Sets the key, adding the section at the end of the file and the key at
  // the end of its section when missing. A value is one line: line breaks in
  // it are written as spaces.
  void WriteString(QStringView section, QStringView key, QStringView value);
  void WriteInt(QStringView section, QStringView key, int value);

  // Replaces the file in one step. False when it cannot be written.
  bool Save() const;

 private:
  struct Location {
    qsizetype section_line = -1;  // the header; -1 when the section is missing
    qsizetype key_line = -1;      // -1 when the key is missing
    qsizetype insert_at = -1;     // after the section's last non-blank line
  };
  Location Find(QStringView section, QStringView key) const;

  QString path_;
  QStringList lines_;
  bool existed_ = false;
  bool utf16_ = false;
};

}  // namespace prunko
