#include "alimama/order_report.h"

#include <QDir>
#include <QFile>

#include <cmath>
#include <limits>

#include "alimama/alimama_session.h"
#include "alimama/xls_sheet.h"
#include "core/app_paths.h"
#include "core/clock.h"
#include "core/format.h"
#include "net/endpoints.h"

namespace prunko {
namespace {

// The report's columns.
enum OrderReportColumn {
  kCreatedTimeColumn = 0,
  kItemTitleColumn = 2,
  kStatusColumn = 8,
  kPaidAmountColumn = 12,
  kEstimatedIncomeColumn = 13,
  kCommissionRateColumn = 17,
  kOrderNoColumn = 24,
  kSiteIdColumn = 26,
  kSiteNameColumn = 27,
  kAdzoneIdColumn = 28,
  kAdzoneNameColumn = 29,
};

// An amount as a float; what no float can hold (a damaged cell) reads as 0.
float Amount(double value) {
  const bool fits = std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max();
  return fits ? static_cast<float>(value) : 0.0f;
}

}  // namespace

int OrderStatusOf(const QString& cell_text) {
  if (cell_text == u"订单付款") return OrderRecord::kPaid;
  if (cell_text == u"订单失效") return OrderRecord::kInvalid;
  if (cell_text == u"订单成功") return OrderRecord::kCompleted;
  if (cell_text == u"订单结算") return OrderRecord::kSettled;
  return OrderRecord::kOther;
}

bool ReadOrderReport(const QString& path, QList<OrderRecord>& records) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) && OrderRecordsFromReport(file.readAll(), records);
}

bool OrderRecordsFromReport(QByteArrayView report, QList<OrderRecord>& records) {
  XlsSheet sheet;
  if (!ReadXlsFirstSheet(report, sheet)) return false;
  records.reserve(records.size() + qMax(0, sheet.RowEnd() - 1));
  for (int row = 1; row < sheet.RowEnd(); ++row) {
    // A cell's text; empty when it holds none.
    const auto text = [&](int column) { return sheet.Text(row, column).value_or(QString()); };
    // A cell's number; 0 when it holds none.
    const auto number = [&](int column) { return Amount(sheet.Number(row, column).value_or(0)); };
    OrderRecord r;
    r.created_time = text(kCreatedTimeColumn);
    r.item_title = text(kItemTitleColumn);
    r.order_no = text(kOrderNoColumn);
    r.status = OrderStatusOf(text(kStatusColumn));
    r.paid_amount = number(kPaidAmountColumn);
    r.commission_rate_text = text(kCommissionRateColumn);
    r.estimated_income = number(kEstimatedIncomeColumn);
    r.site_id = text(kSiteIdColumn);
    r.site_name = text(kSiteNameColumn);
    r.adzone_id = text(kAdzoneIdColumn);
    r.adzone_name = text(kAdzoneNameColumn);
    records.append(r);
  }
  return true;
}

int DownloadOrderReport(QList<OrderRecord>& records, const QString& start_date, const QString& end_date) {
  const QString pub_host = CurrentEndpoints().alimama_pub_host;
  const QString url = FormatString(
      u"http://%s/report/getTbkPaymentDetails.json?queryType=1&payStatus=&DownloadID=DOWNLOAD_REPORT_INCOME_NEW"
      u"&startTime=%s&endTime=%s",
      pub_host, start_date, end_date);
  const QString temp_dir = Paths().temp_dir;
  QDir().mkpath(temp_dir);
  const QString local = FormatString(u"%stbk_detail_%s-%s_%d.xls", temp_dir, start_date, end_date,
                                     static_cast<int>(CurrentClock().TickCount() % 9999));
  if (!HttpClient().Download(60, url, local, QStringLiteral("http://") + pub_host, CurrentAlimamaSession().cookie)) {
    return kAlimamaNetworkError;
  }
  return ReadOrderReport(local, records) ? kAlimamaOk : kAlimamaBadReply;
}

}  // namespace prunko
