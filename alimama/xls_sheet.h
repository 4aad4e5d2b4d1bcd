#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The first worksheet of an .xls (BIFF8) workbook, as the order report reads
// it: text and number cells by row and column.
namespace prunko {

class XlsSheet {
 public:
  // One past the last row that has a cell (an empty one included).
  int RowEnd() const { return row_end_; }
  // The text the cell holds: a shared or inline string, or a formula's text
  // result. None when it holds no text.
  std::optional<QString> Text(int row, int column) const;
  // The number the cell holds: a number, an RK value or a formula's number
  // result. None when it holds no number.
  std::optional<double> Number(int row, int column) const;

 private:
  friend class SheetBuilder;
  static constexpr quint32 kNoText = 0xFFFFFFFF;
  struct Cell {
    quint32 position;  // row * 256 + column
    quint32 text;      // into texts_, or kNoText for a number
    double number;
  };
  const Cell* Find(int row, int column) const;

  std::vector<Cell> cells_;  // by position
  std::vector<quint32> row_starts_;  // where each row's cells begin in cells_, and the end
  QStringList texts_;  // the shared strings, then the sheet's own
  int row_end_ = 0;
};

// Reads the first sheet of an .xls file's bytes: the "Workbook" stream of
// the compound file. False when they are no BIFF8 workbook. A workbook whose
// first sheet is missing, damaged or no worksheet reads as an empty sheet.
bool ReadXlsFirstSheet(QByteArrayView file, XlsSheet& sheet);

// The same from a workbook stream already out of its container.
bool ReadWorkbookStream(QByteArrayView workbook, XlsSheet& sheet);

}  // namespace prunko
