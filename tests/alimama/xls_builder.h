#pragma once

// Small .xls pieces written by hand for the reader's tests: BIFF8 records
// and a workbook stream of them, and the compound file around a stream.
// Whole reports come from xlwt (tests/data/make_order_reports.py); these
// show what xlwt never writes (short streams, MULRK, formulas, CONTINUE
// splits of our choosing) and damage of our choosing.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtEndian>

#include <cstring>

namespace prunko::test {

inline QByteArray Le16(quint16 v) {
  QByteArray b(2, '\0');
  qToLittleEndian(v, b.data());
  return b;
}
inline QByteArray Le32(quint32 v) {
  QByteArray b(4, '\0');
  qToLittleEndian(v, b.data());
  return b;
}
inline QByteArray LeDouble(double v) {
  quint64 bits;
  std::memcpy(&bits, &v, sizeof bits);
  QByteArray b(8, '\0');
  qToLittleEndian(bits, b.data());
  return b;
}

inline QByteArray Record(quint16 type, const QByteArray& data) {
  return Le16(type) + Le16(static_cast<quint16>(data.size())) + data;
}
// Row, column and a format index of 15: how every cell record begins.
inline QByteArray CellAt(quint16 row, quint16 column) { return Le16(row) + Le16(column) + Le16(15); }

// The characters of a string, one byte each (compressed) or UTF-16LE.
inline QByteArray Chars(const QString& text, bool wide) {
  QByteArray b;
  for (QChar c : text) b += wide ? Le16(c.unicode()) : QByteArray(1, static_cast<char>(c.unicode()));
  return b;
}
// A string with its 16-bit count and option byte.
inline QByteArray UnicodeString(const QString& text, bool wide = false) {
  return Le16(static_cast<quint16>(text.size())) + QByteArray(1, wide ? '\x01' : '\x00') + Chars(text, wide);
}

// A workbook stream: the globals (with `globals` between the BOF and the
// sheet's entry) and one worksheet holding `cells`.
inline QByteArray WorkbookStream(const QByteArray& globals, const QByteArray& cells) {
  const QByteArray bof_globals = Record(0x0809, Le16(0x0600) + Le16(0x0005) + QByteArray(12, '\0'));
  const QByteArray bof_sheet = Record(0x0809, Le16(0x0600) + Le16(0x0010) + QByteArray(12, '\0'));
  const QByteArray eof = Record(0x000A, {});
  const auto sheet_entry_at = [](quint32 at) { return Record(0x0085, Le32(at) + Le16(0) + UnicodeString("S")); };
  const qsizetype sheet_at = bof_globals.size() + globals.size() + sheet_entry_at(0).size() + eof.size();
  const QByteArray sheet_entry = sheet_entry_at(static_cast<quint32>(sheet_at));
  return bof_globals + globals + sheet_entry + eof + bof_sheet + cells + eof;
}

// A version 3 compound file (512-byte sectors) whose root holds one stream.
// A stream under 4096 bytes goes into the mini stream, in 64-byte sectors.
inline QByteArray CompoundFileOf(const QString& name, const QByteArray& stream) {
  constexpr quint32 kEnd = 0xFFFFFFFE, kFree = 0xFFFFFFFF, kFatSector = 0xFFFFFFFD;
  const auto sectors_for = [](qsizetype bytes, qsizetype size) { return static_cast<quint32>((bytes + size - 1) / size); };
  const bool mini = stream.size() < 4096;
  const auto pad = [](QByteArray b, qsizetype size) { return b + QByteArray((size - b.size() % size) % size, '\0'); };

  QByteArray body;  // sectors after the header
  QList<quint32> fat;
  const auto add_chain = [&](const QByteArray& bytes) {
    const quint32 first = static_cast<quint32>(fat.size());
    const quint32 count = sectors_for(bytes.size(), 512);
    for (quint32 i = 0; i < count; ++i) fat.append(i + 1 == count ? kEnd : first + i + 1);
    body += pad(bytes, 512);
    return count ? first : kEnd;
  };
  quint32 stream_start, root_start = kEnd, mini_fat_start = kEnd, root_size = 0;
  if (mini) {
    const quint32 mini_sectors = sectors_for(stream.size(), 64);
    QByteArray mini_fat;
    for (quint32 i = 0; i < 128; ++i) mini_fat += Le32(i + 1 < mini_sectors ? i + 1 : i + 1 == mini_sectors ? kEnd : kFree);
    root_size = mini_sectors * 64;
    root_start = add_chain(pad(stream, 64));
    mini_fat_start = add_chain(mini_fat);
    stream_start = mini_sectors ? 0 : kEnd;
  } else {
    stream_start = add_chain(stream);
  }
  const auto entry = [](const QString& entry_name, quint8 type, quint32 child, quint32 start, quint32 size) {
    QByteArray e = Chars(entry_name, true).leftJustified(64, '\0');
    e += Le16(static_cast<quint16>((entry_name.size() + 1) * 2)) + QByteArray(1, char(type)) + QByteArray(1, '\1');
    e += Le32(kFree) + Le32(kFree) + Le32(child) + QByteArray(16 + 4 + 16, '\0') + Le32(start) + Le32(size) + Le32(0);
    return e;
  };
  const QByteArray directory = entry("Root Entry", 5, 1, root_start, root_size) +
                               entry(name, 2, kFree, stream_start, static_cast<quint32>(stream.size())) +
                               entry("", 0, kFree, kFree, 0) + entry("", 0, kFree, kFree, 0);
  const quint32 directory_start = add_chain(directory);
  // The table covers itself too.
  const quint32 fat_start = static_cast<quint32>(fat.size());
  quint32 fat_sectors = 1;
  while ((fat.size() + fat_sectors) > fat_sectors * 128) ++fat_sectors;
  for (quint32 i = 0; i < fat_sectors; ++i) fat.append(kFatSector);
  QByteArray table;
  for (quint32 next : fat) table += Le32(next);
  while (table.size() < qsizetype(fat_sectors) * 512) table += Le32(kFree);
  body += table;

  QByteArray header = QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(16, '\0');
  header += Le16(0x003E) + Le16(3) + Le16(0xFFFE) + Le16(9) + Le16(6) + QByteArray(6, '\0');
  header += Le32(0) + Le32(fat_sectors) + Le32(directory_start) + Le32(0) + Le32(4096);
  header += Le32(mini_fat_start) + Le32(mini ? 1 : 0) + Le32(kEnd) + Le32(0);
  for (quint32 i = 0; i < 109; ++i) header += Le32(i < fat_sectors ? fat_start + i : kFree);
  return header + body;
}

}  // namespace prunko::test
