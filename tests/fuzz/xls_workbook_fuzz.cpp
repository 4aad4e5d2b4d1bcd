// Workbook streams straight to the BIFF8 reader, past the compound file,
// so that mutations reach the records (strings, CONTINUE splits, cells).

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>

#include "alimama/xls_sheet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace prunko;
  XlsSheet sheet;
  if (!ReadWorkbookStream(QByteArrayView(data, static_cast<qsizetype>(size)), sheet)) return 0;
  if (sheet.RowEnd() < 0 || sheet.RowEnd() > 65536) __builtin_trap();
  for (int row = 0; row < sheet.RowEnd() && row < 64; ++row) {
    for (int column = 0; column < 32; ++column) {
      // A cell holds text or a number, never both.
      if (sheet.Text(row, column) && sheet.Number(row, column)) __builtin_trap();
    }
  }
  return 0;
}
