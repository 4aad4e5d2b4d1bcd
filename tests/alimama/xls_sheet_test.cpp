#include "alimama/xls_sheet.h"

#include <gtest/gtest.h>

#include "xls_builder.h"

namespace prunko {
namespace {

using test::CellAt;
using test::Le16;
using test::Le32;
using test::LeDouble;
using test::Record;
using test::UnicodeString;
using test::WorkbookStream;

// A shared-string table holding `strings`, all in one record.
QByteArray Sst(const QByteArray& strings, quint32 count) { return Record(0x00FC, Le32(count) + Le32(count) + strings); }

QByteArray LabelSst(quint16 row, quint16 column, quint32 index) { return Record(0x00FD, CellAt(row, column) + Le32(index)); }
QByteArray Number(quint16 row, quint16 column, double value) { return Record(0x0203, CellAt(row, column) + LeDouble(value)); }
QByteArray Rk(quint16 row, quint16 column, quint32 rk) { return Record(0x027E, CellAt(row, column) + Le32(rk)); }
QByteArray Formula(quint16 row, quint16 column, const QByteArray& result) {
  return Record(0x0006, CellAt(row, column) + result + Le16(0) + Le32(0) + Le16(0));
}
// A formula's result marked as not a number: text, boolean, error, empty text.
QByteArray Marked(quint8 kind) { return QByteArray(1, char(kind)) + QByteArray(5, '\0') + Le16(0xFFFF); }

XlsSheet Read(const QByteArray& globals, const QByteArray& cells) {
  XlsSheet sheet;
  EXPECT_TRUE(ReadWorkbookStream(WorkbookStream(globals, cells), sheet));
  return sheet;
}

TEST(XlsSheet, ReadsEveryKindOfCell) {
  const QByteArray mulrk = Record(0x00BD, Le16(3) + Le16(1) + Le16(15) + Le32((7 << 2) | 2) + Le16(15) +
                                              Le32((1234 << 2) | 3) + Le16(2));
  const XlsSheet sheet = Read(
      Sst(UnicodeString("shared") + UnicodeString(QStringLiteral("订单结算"), true), 2),
      LabelSst(0, 0, 0) + LabelSst(0, 1, 1) + LabelSst(0, 2, 9) +
          Record(0x0204, CellAt(1, 0) + UnicodeString(QStringLiteral("小鹿优选"), true)) +
          Record(0x0204, CellAt(1, 1) + UnicodeString("12.00 %")) + Number(2, 0, 39.9) +
          Rk(2, 1, (25 << 2) | 2) + Rk(2, 2, quint32(-3 << 2) | 2) + Rk(2, 3, (4790 << 2) | 3) +
          Rk(2, 4, 0x3FF00000) +  // the upper half of 1.0
          mulrk + Formula(4, 0, LeDouble(2.5)) + Formula(4, 1, Marked(0)) +
          Record(0x04BC, QByteArray(10, '\0')) +  // a shared formula before the text result
          Record(0x0207, UnicodeString("from a formula")) + Formula(4, 2, Marked(3)) +
          Formula(4, 3, Marked(1)) + Record(0x0205, CellAt(4, 4) + QByteArray(2, '\1')) +
          Record(0x0201, CellAt(6, 0)));

  EXPECT_EQ(sheet.Text(0, 0), u"shared");
  EXPECT_EQ(sheet.Text(0, 1), u"订单结算");
  EXPECT_EQ(sheet.Text(0, 2), std::nullopt);  // past the shared strings
  EXPECT_EQ(sheet.Text(1, 0), u"小鹿优选");
  EXPECT_EQ(sheet.Text(1, 1), u"12.00 %");
  EXPECT_EQ(sheet.Number(2, 0), 39.9);
  EXPECT_EQ(sheet.Number(2, 1), 25);
  EXPECT_EQ(sheet.Number(2, 2), -3);
  EXPECT_EQ(sheet.Number(2, 3), 47.9);
  EXPECT_EQ(sheet.Number(2, 4), 1.0);
  EXPECT_EQ(sheet.Number(3, 1), 7);
  EXPECT_EQ(sheet.Number(3, 2), 12.34);
  EXPECT_EQ(sheet.Number(3, 3), std::nullopt);
  EXPECT_EQ(sheet.Number(4, 0), 2.5);
  EXPECT_EQ(sheet.Text(4, 1), u"from a formula");
  EXPECT_EQ(sheet.Text(4, 2), u"");
  EXPECT_EQ(sheet.Number(4, 3), std::nullopt);  // a boolean is neither
  EXPECT_EQ(sheet.Text(4, 3), std::nullopt);
  EXPECT_EQ(sheet.Number(4, 4), std::nullopt);
  // A cell holds text or a number, never both; a blank cell still counts as used.
  EXPECT_EQ(sheet.Number(0, 0), std::nullopt);
  EXPECT_EQ(sheet.Text(2, 0), std::nullopt);
  EXPECT_EQ(sheet.Text(99, 0), std::nullopt);
  EXPECT_EQ(sheet.RowEnd(), 7);
}

TEST(XlsSheet, SharedStringsCarryOnIntoContinueRecords) {
  // "abcdef" stops after "abc"; the rest comes wide behind an option byte.
  // The next string's header opens the second CONTINUE, with no option byte
  // of its own; its rich-text runs and phonetic block are split too.
  const QByteArray sst = Record(0x00FC, Le32(3) + Le32(3) + Le16(6) + QByteArray(1, '\0') + "abc") +
                         Record(0x003C, QByteArray(1, '\1') + test::Chars(QStringLiteral("d€f"), true)) +
                         Record(0x003C, Le16(2) + QByteArray(1, '\x0C') + Le16(1) + Le32(3) + "xy" + "RUN") +
                         Record(0x003C, QByteArray("!") + "PHO") + Record(0x003C, UnicodeString("last"));
  const XlsSheet sheet = Read(sst, LabelSst(1, 0, 0) + LabelSst(1, 1, 1) + LabelSst(1, 2, 2));
  EXPECT_EQ(sheet.Text(1, 0), u"abcd€f");
  EXPECT_EQ(sheet.Text(1, 1), u"xy");
  EXPECT_EQ(sheet.Text(1, 2), u"last");
}

TEST(XlsSheet, WhatIsNoWorkbookAndWhatIsAnEmptySheet) {
  XlsSheet sheet;
  const QByteArray biff5_bof = Record(0x0809, Le16(0x0500) + Le16(0x0005));
  EXPECT_FALSE(ReadWorkbookStream("", sheet));
  EXPECT_FALSE(ReadWorkbookStream(biff5_bof + Record(0x000A, {}), sheet));
  EXPECT_FALSE(ReadWorkbookStream(Number(0, 0, 1), sheet));
  EXPECT_FALSE(ReadXlsFirstSheet(WorkbookStream({}, Number(1, 0, 1)), sheet));  // not in a compound file

  const QByteArray globals_only = Record(0x0809, Le16(0x0600) + Le16(0x0005)) + Record(0x000A, {});
  ASSERT_TRUE(ReadWorkbookStream(globals_only, sheet));
  EXPECT_EQ(sheet.RowEnd(), 0);
  // The first sheet is a chart, or lies past the end of the stream.
  QByteArray chart = WorkbookStream({}, Number(1, 0, 1));
  chart[chart.indexOf(QByteArray("\x09\x08\x10\x00\x00\x06\x10\x00", 8)) + 6] = '\x20';
  ASSERT_TRUE(ReadWorkbookStream(chart, sheet));
  EXPECT_EQ(sheet.RowEnd(), 0);
  QByteArray far = WorkbookStream({}, Number(1, 0, 1));
  far.replace(far.indexOf(QByteArray("\x85\x00", 2)) + 4, 4, Le32(1u << 30));
  ASSERT_TRUE(ReadWorkbookStream(far, sheet));
  EXPECT_EQ(sheet.RowEnd(), 0);
}

TEST(XlsSheet, DamagedCellsAreLeftOutAndTheRestKept) {
  const QByteArray chart = Record(0x0809, Le16(0x0600) + Le16(0x0020)) + Number(50, 0, 1) + Record(0x000A, {});
  const XlsSheet sheet = Read(
      // The string table claims three strings and holds one and a half.
      Sst(UnicodeString("one") + Le16(40) + QByteArray(1, '\0') + "tw", 3),
      Number(5, 1, 5) + Number(2, 1, 2) + Number(5, 1, 6) +  // out of order, and written twice
          LabelSst(3, 0, 0) + LabelSst(3, 1, 1) + Number(1, 300, 1) +  // column past the last
          Record(0x0204, CellAt(3, 2) + Le16(50) + QByteArray(1, '\0') + "short") +
          Record(0x0203, CellAt(7, 0)) +  // a number record without its number
          chart + Number(4, 4, 44) + Record(0x0203, QByteArray(3, '\0')));
  EXPECT_EQ(sheet.Number(2, 1), 2);
  EXPECT_EQ(sheet.Number(5, 1), 6);
  EXPECT_EQ(sheet.Text(3, 0), u"one");
  EXPECT_EQ(sheet.Text(3, 1), std::nullopt);
  EXPECT_EQ(sheet.Text(3, 2), std::nullopt);
  EXPECT_EQ(sheet.Number(1, 300), std::nullopt);
  EXPECT_EQ(sheet.Number(50, 0), std::nullopt);  // the embedded chart's
  EXPECT_EQ(sheet.Number(4, 4), 44);             // after the chart, still the sheet's
  EXPECT_EQ(sheet.RowEnd(), 6);

  // A record that runs past the end of the stream ends the sheet there.
  QByteArray cut = WorkbookStream({}, Number(1, 0, 1) + Number(2, 0, 2));
  cut.chop(4 + 10);
  XlsSheet partial;
  ASSERT_TRUE(ReadWorkbookStream(cut, partial));
  EXPECT_EQ(partial.Number(1, 0), 1);
  EXPECT_EQ(partial.RowEnd(), 2);
}

}  // namespace
}  // namespace prunko
