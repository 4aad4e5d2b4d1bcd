// The order report's .xls is read by a helper process (the spreadsheet
// library does not survive every damaged file); what the program itself
// parses is the rows the helper writes, which must never harm it either.

#include <QByteArray>

#include <cstddef>
#include <cstdint>

#include "alimama/order_report.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace prunko;
  QList<OrderRecord> records;
  OrderRecordsFromSheetJson(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), records);
  for (const OrderRecord& r : records) {
    // Amounts are always finite numbers.
    if (!(r.paid_amount == r.paid_amount) || !(r.estimated_income == r.estimated_income)) __builtin_trap();
  }
  return 0;
}
