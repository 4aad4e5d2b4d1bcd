// prunko-xls-reader <file>: reads an order report and writes its records to
// standard output as JSON. Runs apart from the program, so that a damaged
// file can only ever take this process down. Exit code 2: no workbook.

#include <QCoreApplication>
#include <QString>

#include <cstdio>

#include "alimama/order_report.h"

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: prunko-xls-reader <file>\n");
    return 1;
  }
  QList<prunko::OrderRecord> records;
  if (!prunko::ReadOrderReportInProcess(QString::fromLocal8Bit(argv[1]), records)) return 2;
  const QByteArray json = prunko::OrderRecordsToJson(records);
  std::fwrite(json.constData(), 1, static_cast<size_t>(json.size()), stdout);
  return 0;
}
