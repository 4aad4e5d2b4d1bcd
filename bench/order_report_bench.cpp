// The order report at the most rows a sheet holds (65535 orders, about
// 15 MB): the workbook read out of its file, and the rows made records.

#include <benchmark/benchmark.h>

#include <QFile>

#include "alimama/order_report.h"
#include "alimama/xls_sheet.h"

namespace prunko {
namespace {

QByteArray LargeReport() {
  QFile file(QStringLiteral(PRUNKO_LARGE_ORDER_REPORT));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void BM_ReadXlsFirstSheet(benchmark::State& state) {
  const QByteArray report = LargeReport();
  for (auto _ : state) {
    XlsSheet sheet;
    if (!ReadXlsFirstSheet(report, sheet)) state.SkipWithError("no workbook");
    benchmark::DoNotOptimize(sheet.RowEnd());
  }
  state.SetBytesProcessed(state.iterations() * report.size());
}
BENCHMARK(BM_ReadXlsFirstSheet)->Unit(benchmark::kMillisecond);

void BM_OrderRecordsFromReport(benchmark::State& state) {
  const QByteArray report = LargeReport();
  qsizetype rows = 0;
  for (auto _ : state) {
    QList<OrderRecord> records;
    if (!OrderRecordsFromReport(report, records)) state.SkipWithError("no workbook");
    rows = records.size();
  }
  state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_OrderRecordsFromReport)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace prunko
