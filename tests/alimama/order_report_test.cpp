#include "alimama/order_report.h"

#include <QDir>

#include "alimama_fixture.h"
#include "xls_builder.h"

namespace prunko {
namespace {

using sandbox::AlimamaStandIn;

// Written by tests/data/make_order_reports.py.
QString Fixture(const char* name) { return QStringLiteral(PRUNKO_TEST_DATA_DIR "/") + name; }

TEST(OrderReport, StatusTexts) {
  const struct {
    const char* text;
    int status;
  } cases[] = {{"订单付款", 12}, {"订单失效", 13}, {"订单成功", 14}, {"订单结算", 3}, {"订单结算 ", 0}, {"", 0}};
  for (const auto& c : cases) EXPECT_EQ(OrderStatusOf(QString::fromUtf8(c.text)), c.status) << c.text;
}

TEST(OrderReport, ReadsEveryRowAfterTheHeader) {
  QList<OrderRecord> records;
  ASSERT_TRUE(ReadOrderReport(Fixture("order_report.xls"), records));
  ASSERT_EQ(records.size(), 5);
  const OrderRecord& first = records[0];
  EXPECT_EQ(first.created_time, u"2018-01-05 10:01:02");
  EXPECT_EQ(first.item_title, QString::fromUtf8("夏季新款纯棉短袖T恤"));
  EXPECT_EQ(first.order_no, u"118123456789001");
  EXPECT_EQ(first.status, OrderRecord::kPaid);
  EXPECT_FLOAT_EQ(first.paid_amount, 39.9f);
  EXPECT_FLOAT_EQ(first.estimated_income, 4.79f);
  EXPECT_EQ(first.commission_rate_text, u"12.00 %");
  EXPECT_EQ(first.site_id, u"24470011");
  EXPECT_EQ(first.site_name, QString::fromUtf8("小鹿优选"));
  EXPECT_EQ(first.adzone_id, u"80460001");
  EXPECT_EQ(first.adzone_name, QString::fromUtf8("微信群1"));
  EXPECT_EQ(records[1].status, OrderRecord::kSettled);
  EXPECT_EQ(records[2].status, OrderRecord::kOther);  // "订单结算 " with a trailing blank
  EXPECT_EQ(records[2].paid_amount, 0.0f);            // 0.00
  EXPECT_EQ(records[3].paid_amount, 0.0f);            // a text cell
  EXPECT_EQ(records[3].status, OrderRecord::kInvalid);
  EXPECT_FLOAT_EQ(records[4].paid_amount, 25.0f);
  EXPECT_EQ(records[4].status, OrderRecord::kCompleted);

  QList<OrderRecord> none;
  EXPECT_TRUE(ReadOrderReport(Fixture("order_report_header_only.xls"), none));
  EXPECT_TRUE(none.isEmpty());
  test::TempFolder dir;
  test::WriteAll(dir.File("login.xls"), R"(<html><iframe id="taobaoLoginIfr"></iframe></html>)");
  EXPECT_FALSE(ReadOrderReport(dir.File("login.xls"), none));
  EXPECT_FALSE(ReadOrderReport(dir.File("missing.xls"), none));
}

TEST(OrderReport, ReadsAReportAnotherSpreadsheetProgramWrote) {
  // Written by Gnumeric from order_report_gnumeric.gnumeric:
  //   ssconvert --export-type=Gnumeric_Excel:excel_biff8 order_report_gnumeric.gnumeric order_report_gnumeric.xls
  // Its workbook is under 4096 bytes, so it sits in the compound file's
  // mini stream; the third row's title and paid amount are formulas.
  QList<OrderRecord> records;
  ASSERT_TRUE(ReadOrderReport(Fixture("order_report_gnumeric.xls"), records));
  ASSERT_EQ(records.size(), 3);
  EXPECT_EQ(records[0].created_time, u"2018-01-05 10:01:02");
  EXPECT_EQ(records[0].item_title, QString::fromUtf8("夏季新款纯棉短袖T恤"));
  EXPECT_FLOAT_EQ(records[0].paid_amount, 39.9f);
  EXPECT_EQ(records[1].status, OrderRecord::kSettled);
  EXPECT_FLOAT_EQ(records[1].paid_amount, 118.0f);
  EXPECT_FLOAT_EQ(records[1].estimated_income, 8.85f);
  EXPECT_EQ(records[2].item_title, QString::fromUtf8("加厚毛绒拖鞋"));
  EXPECT_FLOAT_EQ(records[2].paid_amount, 25.0f);
  EXPECT_EQ(records[2].order_no, u"118123456789005");
  EXPECT_EQ(records[2].adzone_name, QString::fromUtf8("微信群3"));
}

TEST(OrderReport, ReadsAReportOfTheMostRowsASheetHolds) {
  // About 15 MB, so the compound file lists its table sectors beyond the
  // header too; the shared strings run through many CONTINUE records.
  QList<OrderRecord> records;
  ASSERT_TRUE(ReadOrderReport(QStringLiteral(PRUNKO_LARGE_ORDER_REPORT), records));
  ASSERT_EQ(records.size(), 65535);
  constexpr int kStatusCycle[] = {OrderRecord::kPaid, OrderRecord::kSettled, OrderRecord::kInvalid,
                                  OrderRecord::kCompleted};
  for (const int n : {1, 2, 4095, 30000, 65535}) {
    const OrderRecord& r = records[n - 1];
    EXPECT_EQ(r.order_no, QStringLiteral("1181234%1").arg(n, 8, 10, QChar('0'))) << n;
    EXPECT_EQ(r.item_title, QString::fromUtf8("商品 %1 夏季新款纯棉短袖T恤").arg(n)) << n;
    EXPECT_EQ(r.status, kStatusCycle[n % 4]) << n;
    EXPECT_FLOAT_EQ(r.paid_amount, static_cast<float>(n % 1000 + 0.5)) << n;
    EXPECT_FLOAT_EQ(r.estimated_income, static_cast<float>(n % 100 / 10.0)) << n;
    EXPECT_EQ(r.adzone_name, QString::fromUtf8("微信群%1").arg(n % 10)) << n;
  }
}

TEST(OrderReport, ADamagedFileReadsAsNoWorkbookOrAsWhatSurvives) {
  // A file the fuzzer made against an earlier reader: a string whose length
  // runs far past its record. Nothing of it may be read from outside the file.
  QList<OrderRecord> records;
  const bool read = ReadOrderReport(Fixture("fuzz_findings/freexl_string_overread.xls"), records);
  EXPECT_TRUE(!read || records.size() <= 5);
  // An amount no float can hold reads as 0. xlwt keeps 39.9 as the RK
  // value 3990 / 100; 0x48078A4C is the upper half of 1e39.
  QByteArray report = test::ReadAll(Fixture("order_report.xls"));
  const QByteArray paid = test::Le32((3990 << 2) | 3);
  ASSERT_EQ(report.count(paid), 1);
  report.replace(report.indexOf(paid), 4, test::Le32(0x48078A4C));
  records.clear();
  ASSERT_TRUE(OrderRecordsFromReport(report, records));
  EXPECT_EQ(records[0].paid_amount, 0.0f);
  EXPECT_FLOAT_EQ(records[0].estimated_income, 4.79f);
}

class OrderReportDownload : public test::AlimamaFixture {};

TEST_F(OrderReportDownload, DownloadsEachRangeIntoAFileOfItsOwn) {
  UseLoggedInCookie();
  QList<OrderRecord> records;
  clock_.Advance(1234);
  ASSERT_EQ(DownloadOrderReport(records, "2018-1-5", "2018-1-5"), kAlimamaOk);
  EXPECT_EQ(records.size(), 5);
  const sandbox::RecordedRequest sent = server_.Requests().back();
  EXPECT_EQ(sent.target,
            "/report/getTbkPaymentDetails.json?queryType=1&payStatus=&DownloadID=DOWNLOAD_REPORT_INCOME_NEW"
            "&startTime=2018-1-5&endTime=2018-1-5");
  EXPECT_EQ(sent.Header("Referer"), "http://pub.alimama.test");
  clock_.Advance(1000);
  ASSERT_EQ(DownloadOrderReport(records, "2018-1-5", "2018-1-5"), kAlimamaOk);
  EXPECT_EQ(records.size(), 10);  // appended
  EXPECT_EQ(QDir(dir_.File("prunko_temp")).entryList(QDir::Files),
            (QStringList{"tbk_detail_2018-1-5-2018-1-5_1234.xls", "tbk_detail_2018-1-5-2018-1-5_2234.xls"}));
}

TEST_F(OrderReportDownload, AnExpiredSessionSavesTheLoginPage) {
  QList<OrderRecord> records;
  EXPECT_EQ(DownloadOrderReport(records, "2018-1-1", "2018-1-5"), kAlimamaBadReply);
  EXPECT_TRUE(records.isEmpty());
  HttpSettings s = CurrentHttpSettings();
  s.connect_to[AlimamaStandIn::kPubHost] = QStringLiteral("127.0.0.1:1");
  SetHttpSettings(s);
  EXPECT_EQ(DownloadOrderReport(records, "2018-1-1", "2018-1-5"), kAlimamaNetworkError);
}

}  // namespace
}  // namespace prunko
