#include "alimama/order_report.h"

#include <QDir>

#include "alimama_fixture.h"

namespace prunko {
namespace {

using sandbox::AlimamaStandIn;

// Written by tests/data/make_order_reports.py.
QString Fixture(const char* name) { return QStringLiteral(PRUNKO_TEST_DATA_DIR "/") + name; }

// Every test reads through the helper program, as the application does.
class UseTheBuiltReader : public ::testing::Environment {
 public:
  void SetUp() override { SetXlsReaderPath(QStringLiteral(PRUNKO_XLS_READER)); }
};
const auto* const reader_environment = ::testing::AddGlobalTestEnvironment(new UseTheBuiltReader);

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

TEST(OrderReport, ADamagedFileThatBreaksTheSpreadsheetLibraryIsNoWorkbook) {
  // A file the fuzzer made: the spreadsheet library reads past a string's
  // buffer on it. The helper process may fall over; the program does not.
  QList<OrderRecord> records;
  const bool read = ReadOrderReport(Fixture("fuzz_findings/freexl_string_overread.xls"), records);
  EXPECT_TRUE(!read || records.size() <= 5);
  QList<OrderRecord> none;
  SetXlsReaderPath(Fixture("no-such-reader"));
  EXPECT_FALSE(ReadOrderReport(Fixture("order_report.xls"), none));
  SetXlsReaderPath(QStringLiteral(PRUNKO_XLS_READER));
}

TEST(OrderReport, TheHelpersRowsBecomeRecords) {
  QList<OrderRecord> records;
  ASSERT_TRUE(OrderRecordsFromSheetJson(
      R"([["t",null,"title",0,0,0,0,0,"订单结算",0,0,0,1e39,2.5,0,0,0,"12 %",0,0,0,0,0,0,"no",0,"s","sn","a","an"],)"
      R"(7,["only"],[]])",
      records));
  ASSERT_EQ(records.size(), 4);
  EXPECT_EQ(records[0].created_time, u"t");
  EXPECT_EQ(records[0].item_title, u"title");
  EXPECT_EQ(records[0].status, OrderRecord::kSettled);
  EXPECT_EQ(records[0].paid_amount, 0.0f);  // no float holds it
  EXPECT_EQ(records[0].estimated_income, 2.5f);
  EXPECT_EQ(records[0].commission_rate_text, u"12 %");
  EXPECT_EQ(records[0].adzone_name, u"an");
  EXPECT_EQ(records[1], OrderRecord{});  // not a row
  EXPECT_EQ(records[2].created_time, u"only");
  EXPECT_EQ(records[3], OrderRecord{});
  EXPECT_FALSE(OrderRecordsFromSheetJson("{}", records));
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
