#include "alimama/xls_sheet.h"

#include <algorithm>
#include <cstring>

#include "alimama/biff_reader.h"
#include "alimama/compound_file.h"
#include "alimama/little_endian.h"

namespace prunko {

using biff::ContinuedData;
using biff::Record;
using biff::RecordReader;

namespace {

constexpr quint16 kBiff8 = 0x0600;
constexpr quint16 kGlobalsSubstream = 0x0005;
constexpr quint16 kWorksheetSubstream = 0x0010;
constexpr int kColumns = 256;

// An RK value: a 30-bit integer or the upper 30 bits of a double, either
// of them possibly multiplied by 100.
double RkValue(quint32 rk) {
  double value;
  if (rk & 0x02) {
    value = static_cast<qint32>(rk) >> 2;
  } else {
    const quint64 bits = quint64(rk & 0xFFFFFFFC) << 32;
    std::memcpy(&value, &bits, sizeof value);
  }
  return (rk & 0x01) ? value / 100 : value;
}

bool IsBof(const Record& r, quint16 substream) {
  return r.type == biff::kBof && r.data.size() >= 4 && U16At(r.data, 0) == kBiff8 && U16At(r.data, 2) == substream;
}

// A string held by a record from `at` on, carried on into its CONTINUE records.
bool StringOf(const Record& record, qsizetype at, RecordReader& reader, QString& text) {
  return at <= record.data.size() && reader.Continued(record, at).UnicodeString(text);
}

}  // namespace

// Collects the cells of one worksheet substream.
class SheetBuilder {
 public:
  SheetBuilder(XlsSheet& sheet, QStringList shared) : sheet_(sheet), shared_count_(shared.size()) {
    sheet_ = XlsSheet();
    sheet_.texts_ = std::move(shared);
  }

  void Read(RecordReader& reader) {
    Record r;
    int depth = 1;  // charts embedded in the sheet are substreams of their own
    while (depth > 0 && reader.Next(r)) {
      if (r.type == biff::kBof) {
        ++depth;
      } else if (r.type == biff::kEof) {
        --depth;
      } else if (depth == 1) {
        Cells(r, reader);
      }
    }
    Finish();
  }

 private:
  void Cells(const Record& r, RecordReader& reader) {
    const QByteArrayView d = r.data;
    if (r.type != biff::kString && r.type != biff::kSharedFormula && r.type != biff::kArray &&
        r.type != biff::kTable) {
      pending_formula_text_ = -1;
    }
    switch (r.type) {
      case biff::kLabelSst:
        if (d.size() >= 10) {
          const quint32 index = U32At(d, 6);
          if (index < quint32(shared_count_)) {
            Add(U16At(d, 0), U16At(d, 2), {0, index, 0});
          } else {
            Touch(U16At(d, 0), U16At(d, 2));
          }
        }
        break;
      case biff::kLabel:
      case biff::kRString:
        if (d.size() >= 6) {
          QString text;
          if (StringOf(r, 6, reader, text)) {
            AddText(U16At(d, 0), U16At(d, 2), text);
          } else {
            Touch(U16At(d, 0), U16At(d, 2));
          }
        }
        break;
      case biff::kNumber:
        if (d.size() >= 14) AddNumber(U16At(d, 0), U16At(d, 2), DoubleAt(d, 6));
        break;
      case biff::kRk:
        if (d.size() >= 10) AddNumber(U16At(d, 0), U16At(d, 2), RkValue(U32At(d, 6)));
        break;
      case biff::kMulRk:
        // Row, first column, then an XF index and an RK value per cell, then the last column.
        if (d.size() < 6) break;
        for (qsizetype at = 4, column = U16At(d, 2); at + 6 <= d.size() - 2; at += 6, ++column) {
          AddNumber(U16At(d, 0), static_cast<int>(column), RkValue(U32At(d, at + 2)));
        }
        break;
      case biff::kFormula:
        if (d.size() >= 20) Formula(d);
        break;
      case biff::kString:
        if (pending_formula_text_ >= 0) {
          const int row = pending_formula_text_ / kColumns, column = pending_formula_text_ % kColumns;
          QString text;
          if (StringOf(r, 0, reader, text)) AddText(row, column, text);
          pending_formula_text_ = -1;
        }
        break;
      case biff::kBlank:
      case biff::kBoolErr:
      case biff::kMulBlank:
        if (d.size() >= 4) Touch(U16At(d, 0), U16At(d, 2));
        break;
      default:
        break;
    }
  }

  // A formula's cached result: a number, or a marker in the top two bytes
  // saying it is text (in the STRING record that follows), a boolean, an
  // error or an empty text.
  void Formula(QByteArrayView d) {
    const int row = U16At(d, 0), column = U16At(d, 2);
    if (U16At(d, 12) != 0xFFFF) {
      AddNumber(row, column, DoubleAt(d, 6));
      return;
    }
    switch (static_cast<quint8>(d[6])) {
      case 0:
        Touch(row, column);
        if (column < kColumns) pending_formula_text_ = row * kColumns + column;
        break;
      case 3:
        AddText(row, column, QString());
        break;
      default:
        Touch(row, column);
        break;
    }
  }

  void Touch(int row, int column) {
    if (column < kColumns) sheet_.row_end_ = std::max(sheet_.row_end_, row + 1);
  }
  void Add(int row, int column, XlsSheet::Cell cell) {
    if (column >= kColumns) return;
    Touch(row, column);
    cell.position = quint32(row * kColumns + column);
    in_order_ = in_order_ && (sheet_.cells_.empty() || sheet_.cells_.back().position <= cell.position);
    sheet_.cells_.push_back(cell);
  }
  void AddText(int row, int column, const QString& text) {
    if (column >= kColumns || sheet_.texts_.size() >= qsizetype(XlsSheet::kNoText)) return;
    Add(row, column, {0, quint32(sheet_.texts_.size()), 0});
    sheet_.texts_.append(text);
  }
  void AddNumber(int row, int column, double number) { Add(row, column, {0, XlsSheet::kNoText, number}); }

  // Cells come in row order from every writer we know; sort only when not.
  // A cell written twice keeps its later value (found by Find).
  void Finish() {
    std::vector<XlsSheet::Cell>& cells = sheet_.cells_;
    if (!in_order_) {
      std::stable_sort(cells.begin(), cells.end(),
                       [](const XlsSheet::Cell& a, const XlsSheet::Cell& b) { return a.position < b.position; });
    }
    sheet_.row_starts_.assign(size_t(sheet_.row_end_) + 1, 0);
    size_t next = 0;
    for (int row = 0; row <= sheet_.row_end_; ++row) {
      while (next < cells.size() && cells[next].position < quint32(row * kColumns)) ++next;
      sheet_.row_starts_[size_t(row)] = quint32(next);
    }
  }

  XlsSheet& sheet_;
  const qsizetype shared_count_;
  bool in_order_ = true;
  int pending_formula_text_ = -1;  // position of a formula whose text comes next
};

const XlsSheet::Cell* XlsSheet::Find(int row, int column) const {
  if (row < 0 || row >= row_end_ || column < 0 || column >= kColumns) return nullptr;
  const auto first = cells_.begin() + row_starts_[size_t(row)];
  const auto last = cells_.begin() + row_starts_[size_t(row) + 1];
  const quint32 position = quint32(row * kColumns + column);
  const auto after =
      std::upper_bound(first, last, position, [](quint32 p, const Cell& c) { return p < c.position; });
  if (after == first || std::prev(after)->position != position) return nullptr;
  return &*std::prev(after);
}

std::optional<QString> XlsSheet::Text(int row, int column) const {
  const Cell* cell = Find(row, column);
  if (!cell || cell->text == kNoText) return std::nullopt;
  return texts_[cell->text];
}

std::optional<double> XlsSheet::Number(int row, int column) const {
  const Cell* cell = Find(row, column);
  if (!cell || cell->text != kNoText) return std::nullopt;
  return cell->number;
}

bool ReadWorkbookStream(QByteArrayView workbook, XlsSheet& sheet) {
  RecordReader reader(workbook);
  Record r;
  if (!reader.Next(r) || !IsBof(r, kGlobalsSubstream)) return false;
  // The workbook globals: the shared strings and where each sheet starts.
  QStringList shared;
  qint64 first_sheet = -1;
  while (reader.Next(r) && r.type != biff::kEof) {
    if (r.type == biff::kBoundSheet && r.data.size() >= 4 && first_sheet < 0) {
      first_sheet = U32At(r.data, 0);
    } else if (r.type == biff::kSst && r.data.size() >= 8) {
      ContinuedData strings = reader.Continued(r, 8);
      const quint32 count = U32At(r.data, 4);
      shared.clear();
      QString text;
      for (quint32 i = 0; i < count && strings.UnicodeString(text); ++i) shared.append(text);
    }
  }
  SheetBuilder builder(sheet, std::move(shared));
  if (first_sheet >= 0 && reader.Seek(first_sheet) && reader.Next(r) && IsBof(r, kWorksheetSubstream)) {
    builder.Read(reader);
  }
  return true;
}

bool ReadXlsFirstSheet(QByteArrayView file, XlsSheet& sheet) {
  QByteArray workbook;
  return ReadCompoundStream(file, u"Workbook", workbook) && ReadWorkbookStream(workbook, sheet);
}

}  // namespace prunko
