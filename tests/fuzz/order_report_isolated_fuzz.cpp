// Damaged .xls files through the order report reader as the program uses
// it. The spreadsheet library over-reads on some of them; the helper process
// takes the fall (under ASan it stops at the first bad access) and the
// program only ever sees "no workbook".

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

#include "alimama/order_report.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace prunko;
  static QTemporaryDir dir;
  static const bool reader_set = (SetXlsReaderPath(QStringLiteral(PRUNKO_XLS_READER)), true);
  (void)reader_set;
  const QString path = dir.filePath("report.xls");
  {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
    f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  QList<OrderRecord> records;
  ReadOrderReport(path, records);
  return 0;
}
