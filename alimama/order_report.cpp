#include "alimama/order_report.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

#include <cmath>

#include <freexl.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "alimama/alimama_session.h"
#include "core/app_paths.h"
#include "core/clock.h"
#include "core/format.h"
#include "core/guarded_record.h"
#include "core/json_reply.h"
#include "net/endpoints.h"

namespace prunko {
namespace {

// The report's columns.
enum Column {
  kCreatedTime = 0,
  kItemTitle = 2,
  kStatus = 8,
  kPaidAmount = 12,
  kEstimatedIncome = 13,
  kCommissionRate = 17,
  kOrderNo = 24,
  kSiteId = 26,
  kSiteName = 27,
  kAdzoneId = 28,
  kAdzoneName = 29,
};

// An open workbook, closed when it goes.
class Workbook {
 public:
  explicit Workbook(const QString& path) {
    if (freexl_open(QDir::toNativeSeparators(path).toUtf8().constData(), &handle_) != FREEXL_OK) handle_ = nullptr;
  }
  ~Workbook() {
    if (handle_) freexl_close(handle_);
  }
  Workbook(const Workbook&) = delete;
  Workbook& operator=(const Workbook&) = delete;

  bool is_open() const { return handle_ != nullptr; }
  bool SelectFirstSheet() { return freexl_select_active_worksheet(handle_, 0) == FREEXL_OK; }
  // One past the last used row.
  unsigned RowEnd() const {
    unsigned rows = 0;
    unsigned short columns = 0;
    return freexl_worksheet_dimensions(handle_, &rows, &columns) == FREEXL_OK ? rows : 0;
  }
  // The cell's text; empty when it holds none.
  QString Text(unsigned row, unsigned short column) const {
    FreeXL_CellValue cell;
    if (freexl_get_cell_value(handle_, row, column, &cell) != FREEXL_OK) return {};
    if (cell.type != FREEXL_CELL_TEXT && cell.type != FREEXL_CELL_SST_TEXT) return {};
    return QString::fromUtf8(cell.value.text_value);
  }
  // The cell's number; 0 when it holds none.
  double Number(unsigned row, unsigned short column) const {
    FreeXL_CellValue cell;
    if (freexl_get_cell_value(handle_, row, column, &cell) != FREEXL_OK) return 0;
    if (cell.type == FREEXL_CELL_INT) return cell.value.int_value;
    if (cell.type == FREEXL_CELL_DOUBLE) return cell.value.double_value;
    return 0;
  }

 private:
  const void* handle_ = nullptr;
};

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

bool ReadOrderReportInProcess(const QString& path, QList<OrderRecord>& records) {
  Workbook book(path);
  if (!book.is_open()) return false;
  if (!book.SelectFirstSheet()) return true;
  for (unsigned row = 1; row < book.RowEnd(); ++row) {
    OrderRecord r;
    r.created_time = book.Text(row, kCreatedTime);
    r.item_title = book.Text(row, kItemTitle);
    r.order_no = book.Text(row, kOrderNo);
    r.commission_rate_text = book.Text(row, kCommissionRate);
    r.site_id = book.Text(row, kSiteId);
    r.site_name = book.Text(row, kSiteName);
    r.adzone_id = book.Text(row, kAdzoneId);
    r.adzone_name = book.Text(row, kAdzoneName);
    r.status = OrderStatusOf(book.Text(row, kStatus));
    r.paid_amount = Amount(book.Number(row, kPaidAmount));
    r.estimated_income = Amount(book.Number(row, kEstimatedIncome));
    records.append(r);
  }
  return true;
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
  return OrderRecordsFromJson(reader.readAllStandardOutput(), records);
}

QByteArray OrderRecordsToJson(const QList<OrderRecord>& records) {
  rapidjson::StringBuffer buffer;
  rapidjson::Writer<rapidjson::StringBuffer> w(buffer);
  const auto text = [&w](const char* key, const QString& value) {
    const QByteArray utf8 = value.toUtf8();
    w.Key(key);
    w.String(utf8.constData(), static_cast<rapidjson::SizeType>(utf8.size()));
  };
  w.StartArray();
  for (const OrderRecord& r : records) {
    w.StartObject();
    text("created_time", r.created_time);
    text("item_title", r.item_title);
    text("order_no", r.order_no);
    w.Key("status");
    w.Int(r.status);
    w.Key("paid_amount");
    w.Double(r.paid_amount);
    text("commission_rate_text", r.commission_rate_text);
    w.Key("estimated_income");
    w.Double(r.estimated_income);
    text("site_id", r.site_id);
    text("site_name", r.site_name);
    text("adzone_id", r.adzone_id);
    text("adzone_name", r.adzone_name);
    w.EndObject();
  }
  w.EndArray();
  return QByteArray(buffer.GetString(), static_cast<qsizetype>(buffer.GetSize()));
}

bool OrderRecordsFromJson(const QByteArray& json_text, QList<OrderRecord>& records) {
  rapidjson::Document doc;
  doc.Parse(json_text.constData(), static_cast<size_t>(json_text.size()));
  if (doc.HasParseError() || !doc.IsArray()) return false;
  for (const rapidjson::Value& v : doc.GetArray()) {
    OrderRecord r;
    r.created_time = json::String(v, "created_time").value_or(QString());
    r.item_title = json::String(v, "item_title").value_or(QString());
    r.order_no = json::String(v, "order_no").value_or(QString());
    r.status = json::Int(v, "status").value_or(OrderRecord::kOther);
    r.paid_amount = Amount(json::Number(v, "paid_amount").value_or(0));
    r.commission_rate_text = json::String(v, "commission_rate_text").value_or(QString());
    r.estimated_income = Amount(json::Number(v, "estimated_income").value_or(0));
    r.site_id = json::String(v, "site_id").value_or(QString());
    r.site_name = json::String(v, "site_name").value_or(QString());
    r.adzone_id = json::String(v, "adzone_id").value_or(QString());
    r.adzone_name = json::String(v, "adzone_name").value_or(QString());
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
