#include "alimama/order_report.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

#include <cmath>

#include <rapidjson/document.h>

#include "alimama/alimama_session.h"
#include "alimama/sheet_cells.h"
#include "core/app_paths.h"
#include "core/clock.h"
#include "core/format.h"
#include "core/guarded_record.h"
#include "net/endpoints.h"

namespace prunko {
namespace {

// An amount as a float; what no float can hold (a damaged cell) reads as 0.
float Amount(double value) {
  const auto amount = static_cast<float>(value);
  return std::isfinite(amount) ? amount : 0.0f;
}

}  // namespace

int OrderStatusOf(const QString& cell_text) {
  if (cell_text == u"订单付款") return OrderRecord::kPaid;
  if (cell_text == u"订单失效") return OrderRecord::kInvalid;
  if (cell_text == u"订单成功") return OrderRecord::kCompleted;
  if (cell_text == u"订单结算") return OrderRecord::kSettled;
  return OrderRecord::kOther;
}

namespace {

// The reading of one report may take this long before the helper is stopped.
constexpr int kReaderTimeoutMs = 30000;

GuardedRecord<QString>& ReaderPath() {
  static GuardedRecord<QString> path;
  return path;
}

QString XlsReaderPath() {
  const QString set = ReaderPath().Get();
  if (!set.isEmpty()) return set;
  const QString dir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
#ifdef Q_OS_WIN
  return dir + QStringLiteral("/prunko-xls-reader.exe");
#else
  return dir + QStringLiteral("/prunko-xls-reader");
#endif
}

}  // namespace

void SetXlsReaderPath(const QString& path) { ReaderPath().Set(path); }

bool ReadOrderReport(const QString& path, QList<OrderRecord>& records) {
  QProcess reader;
  reader.start(XlsReaderPath(), {path});
  if (!reader.waitForFinished(kReaderTimeoutMs)) {
    reader.kill();
    reader.waitForFinished(1000);
    return false;
  }
  if (reader.exitStatus() != QProcess::NormalExit || reader.exitCode() != 0) return false;
  return OrderRecordsFromSheetJson(reader.readAllStandardOutput(), records);
}

bool OrderRecordsFromSheetJson(const QByteArray& json_text, QList<OrderRecord>& records) {
  rapidjson::Document doc;
  doc.Parse(json_text.constData(), static_cast<size_t>(json_text.size()));
  if (doc.HasParseError() || !doc.IsArray()) return false;
  for (const rapidjson::Value& row : doc.GetArray()) {
    // A cell's text; empty when it holds none.
    const auto text = [&row](int column) {
      if (!row.IsArray() || static_cast<int>(row.Size()) <= column || !row[column].IsString()) return QString();
      return QString::fromUtf8(row[column].GetString(), static_cast<qsizetype>(row[column].GetStringLength()));
    };
    // A cell's number; 0 when it holds none.
    const auto number = [&row](int column) {
      if (!row.IsArray() || static_cast<int>(row.Size()) <= column || !row[column].IsNumber()) return 0.0f;
      return Amount(row[column].GetDouble());
    };
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
