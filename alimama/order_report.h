#pragma once

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
// False when the file is no workbook. The file comes from the network and
// the spreadsheet library does not survive every damaged file, so the
// reading runs in a helper process (prunko-xls-reader) that may crash alone.
bool ReadOrderReport(const QString& path, QList<OrderRecord>& records);

// Where the helper is; by default beside the running program.
void SetXlsReaderPath(const QString& path);

// The records of the rows the helper hands over (see sheet_cells.h).
bool OrderRecordsFromSheetJson(const QByteArray& json, QList<OrderRecord>& records);

}  // namespace prunko
