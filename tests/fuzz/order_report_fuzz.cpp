// The order report's .xls is read by a helper process (the spreadsheet
// library does not survive every damaged file); what the program itself
// parses is the helper's output, which must never harm it either.

#include <QByteArray>

#include <cstddef>
#include <cstdint>

#include "alimama/order_report.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace prunko;
  QList<OrderRecord> records;
  if (!OrderRecordsFromJson(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), records)) {
    return 0;
  }
  QList<OrderRecord> again;
  if (!OrderRecordsFromJson(OrderRecordsToJson(records), again) || again.size() != records.size()) __builtin_trap();
  return 0;
}
