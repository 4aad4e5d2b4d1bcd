#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

namespace prunko {

// One order line of the Alimama order report.
struct OrderRecord {
  enum Status { kOther = 0, kSettled = 3, kPaid = 12, kInvalid = 13, kCompleted = 14 };

  QString created_time;
  QString item_title;
  QString order_no;
  int status = kOther;
  float paid_amount = 0;
  QString commission_rate_text;
  float estimated_income = 0;
  QString site_id;
  QString site_name;
  QString adzone_id;
  QString adzone_name;

  bool operator==(const OrderRecord&) const = default;
};

// The status code of a status cell's whole text.
int OrderStatusOf(const QString& cell_text);

// Downloads the report for the date range (texts as the panel shows them)
// into the temporary folder and appends its rows. NetworkError when the
// download fails, BadReply when the file is no workbook, else Ok.
int DownloadOrderReport(QList<OrderRecord>& records, const QString& start_date, const QString& end_date);

// Reads the first sheet of an .xls (BIFF8) report, row 0 being the header.
// False when the file cannot be read or is no workbook.
bool ReadOrderReport(const QString& path, QList<OrderRecord>& records);

// The same from the report file's bytes, which come from the network: a
// damaged file reads as no workbook or as whatever cells survive the damage.
bool OrderRecordsFromReport(QByteArrayView report, QList<OrderRecord>& records);

}  // namespace prunko
