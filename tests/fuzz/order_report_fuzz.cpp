// Order report files as they come from the network: damaged, truncated or
// not spreadsheets at all, read in-process like every other reply.

#include <QByteArrayView>

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "alimama/order_report.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace prunko;
  QList<OrderRecord> records;
  OrderRecordsFromReport(QByteArrayView(data, static_cast<qsizetype>(size)), records);
  for (const OrderRecord& r : records) {
    // Amounts are always finite numbers.
    if (!std::isfinite(r.paid_amount) || !std::isfinite(r.estimated_income)) __builtin_trap();
  }
  return 0;
}
