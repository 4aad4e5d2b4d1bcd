#include "net/http_client.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <utility>

#include "core/fake_clock.h"
#include "net/http_settings.h"
#include "sandbox/stand_in_server.h"
#include "support/test_support.h"

namespace prunko {
namespace {

using sandbox::Handler;
using sandbox::RecordedRequest;
using sandbox::StandInServer;

constexpr char kHost[] = "pub.alimama.test";

class HttpClientTest : public ::testing::Test {
 protected:
  ~HttpClientTest() override { SetHttpSettings(HttpSettings{}); }

  // Starts `server` and sends the client's requests for its hosts to it.
  void Start(StandInServer& server) {
    ASSERT_TRUE(server.Start());
    server.RouteClient();
  }
  std::string Url(const StandInServer& server, const std::string& path, const std::string& host = kHost) const {
    return server.BaseUrl(host) + path;
  }
  QString QUrl(const StandInServer& server, const std::string& path, const std::string& host = kHost) const {
    return QString::fromStdString(Url(server, path, host));
  }
  QStringList LogLines() const {
    QDir dir(log_dir_.path());
    const QStringList files = dir.entryList({"request_*.txt"});
    if (files.isEmpty()) return {};
    QString text = QString::fromUtf8(test::ReadAll(dir.filePath(files.first())));
    QStringList lines = text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    for (QString& line : lines) line = line.section(u' ', 2);  // drop the time and thread id
    return lines;
  }

  test::TempFolder log_dir_;
  HttpClient client_{log_dir_.path()};
  // Handlers may still run while the server stops: the clock they move
  // outlives it.
  FakeClock clock_;
  StandInServer server_;
};

TEST_F(HttpClientTest, GetSendsTheFixedHeadersAndLogsEachStep) {
  server_.Handle(kHost, "GET", "/index.htm", sandbox::Reply(200, "你好 ok"));
  Start(server_);
  HttpResponse r;
  ASSERT_TRUE(client_.Get(QUrl(server_, "/index.htm?a=1"), "http://ref.test/", "a=1; b=2", r));
  EXPECT_EQ(r.status_code, 200);
  EXPECT_EQ(r.body_raw, QString::fromUtf8("你好 ok").toUtf8());
  EXPECT_EQ(r.body_text, r.body_raw);  // the ANSI code page is UTF-8 here
  EXPECT_TRUE(r.final_location.isEmpty());
  EXPECT_TRUE(r.raw_headers.startsWith("HTTP/1.1 200 OK\r\n"));
  EXPECT_TRUE(r.raw_headers.endsWith("\r\n\r\n"));

  const std::vector<RecordedRequest> seen = server_.Requests();
  ASSERT_EQ(seen.size(), 2u);  // the redirect probe, then the request
  EXPECT_EQ(seen[0].Header("Cookie"), "");  // the probe carries no cookie
  const RecordedRequest& get = seen[1];
  EXPECT_EQ(get.target, "/index.htm?a=1");
  EXPECT_EQ(get.Header("Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(get.Header("Accept"), "*/*");
  EXPECT_EQ(get.Header("User-Agent"), HttpClient::kUserAgent);
  EXPECT_EQ(get.Header("Referer"), "http://ref.test/");
  EXPECT_EQ(get.Header("Cookie"), "a=1; b=2");
  EXPECT_EQ(std::string(HttpClient::kUserAgent).size(), 109u);

  const QString host = QStringLiteral("%1:%2").arg(kHost).arg(server_.port());
  EXPECT_EQ(LogLines(), (QStringList{"Http:" + host + " /index.htm?a=1\n", "准备InternetOpen", "准备InternetConnect",
                                     "准备HttpOpenRequest", "准备ThreadSendRequest", "ThreadHttpSendRequest 完成",
                                     "准备HttpQueryInfo", "准备InternetReadFile", "本次Http请求完成"}));
}

TEST_F(HttpClientTest, HttpsUsesTlsWithCertificateChecksAndPlainUrlsHttp) {
  StandInServer tls(StandInServer::Scheme::kHttps);
  tls.Handle(kHost, "GET", "/x", sandbox::Reply(200, "secure"));
  Start(tls);
  server_.Handle(kHost, "GET", "/x", sandbox::Reply(200, "plain"));
  ASSERT_TRUE(server_.Start());
  HttpResponse r;
  ASSERT_TRUE(client_.Get(QUrl(tls, "/x"), {}, {}, r));
  EXPECT_EQ(r.body_text, "secure");
  // Without the scheme the same name and port go over plain HTTP.
  const QString plain = QStringLiteral("%1:%2/x").arg(kHost).arg(server_.port());
  HttpSettings settings = CurrentHttpSettings();
  settings.connect_to[kHost] = QStringLiteral("127.0.0.1:%1").arg(server_.port());
  SetHttpSettings(settings);
  HttpResponse p;
  ASSERT_TRUE(client_.Get(plain, {}, {}, p));
  EXPECT_EQ(p.body_text, "plain");
  // A certificate the client does not trust fails the request.
  settings.ca_file.clear();
  settings.connect_to[kHost] = QStringLiteral("127.0.0.1:%1").arg(tls.port());
  SetHttpSettings(settings);
  HttpResponse untrusted;
  EXPECT_FALSE(client_.Get(QUrl(tls, "/x"), {}, {}, untrusted));
  EXPECT_TRUE(untrusted.error_text.startsWith("ThreadHttpSendRequest error. ErrCode=[120"));
}

TEST_F(HttpClientTest, UrlsTooShortToSplitSendNothing) {
  Start(server_);
  HttpResponse r;
  for (const QString url : {"", "a.b", "abcd", "\"<>;", "<<<<<<"}) {
    EXPECT_FALSE(client_.Get(url, {}, {}, r)) << url.toStdString();
    QString location;
    EXPECT_FALSE(client_.QueryLocation(url, {}, location));
  }
  EXPECT_TRUE(server_.Requests().empty());
  EXPECT_TRUE(LogLines().isEmpty());
}

TEST_F(HttpClientTest, PostIsProbedWithAGetAndStillPostsToTheGivenUrl) {
  ASSERT_TRUE(server_.Start());  // the redirects name the port
  server_.Handle(kHost, "GET", "/login", sandbox::RedirectTo(Url(server_, "/home")));
  server_.Handle(kHost, "POST", "/login", sandbox::Reply(200, "{\"status\":200}"));
  server_.Handle(kHost, "GET", "/home", sandbox::Reply(200, "home"));
  server_.RouteClient();
  HttpResponse r;
  ASSERT_TRUE(client_.Post(QUrl(server_, "/login"), QString::fromUtf8("mobile=138&pwd=密"), {}, "s=1", r));
  EXPECT_EQ(r.final_location.toStdString(), Url(server_, "/home"));
  EXPECT_EQ(r.body_text, "{\"status\":200}");
  const std::vector<RecordedRequest> seen = server_.Requests();
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].method + " " + seen[0].path, "GET /login");
  EXPECT_EQ(seen[1].method + " " + seen[1].path, "GET /home");  // where the probe went on
  EXPECT_EQ(seen[1].Header("Referer"), Url(server_, "/login"));
  EXPECT_EQ(seen[2].method + " " + seen[2].path, "POST /login");
  EXPECT_EQ(seen[2].body, "mobile=138&pwd=密");
  EXPECT_EQ(seen[2].Header("Cookie"), "s=1");
}

TEST_F(HttpClientTest, LongRedirectChainsLeaveTheFifthTarget) {
  ASSERT_TRUE(server_.Start());  // the redirects name the port
  for (int hop = 0; hop < 7; ++hop) {
    server_.Handle(kHost, "GET", "/hop" + std::to_string(hop),
                   sandbox::RedirectTo(Url(server_, "/hop" + std::to_string(hop + 1))));
  }
  server_.Handle(kHost, "GET", "/hop7", sandbox::Reply(200, "end"));
  server_.RouteClient();
  HttpResponse r;
  ASSERT_TRUE(client_.Get(QUrl(server_, "/hop0"), {}, {}, r));
  EXPECT_EQ(r.final_location.toStdString(), Url(server_, "/hop5"));
  EXPECT_EQ(r.body_text, "end");  // the request itself follows every redirect
}

TEST_F(HttpClientTest, RelativeLocationsComeBackAsTheRequestsOwnHostAndPath) {
  server_.Handle(kHost, "GET", "/a", sandbox::RedirectTo("/b"));
  server_.Handle(kHost, "GET", "/b", sandbox::Reply(200, "b"));
  Start(server_);
  QString location;
  ASSERT_TRUE(client_.QueryLocation(QUrl(server_, "/a"), {}, location));
  const QString own = QStringLiteral("%1:%2/a").arg(kHost).arg(server_.port());
  EXPECT_EQ(location, own);
  HttpResponse r;
  ASSERT_TRUE(client_.Get(QUrl(server_, "/a"), {}, {}, r));
  EXPECT_EQ(r.final_location, own.toUtf8());
  EXPECT_EQ(r.body_text, "b");
  EXPECT_FALSE(client_.QueryLocation(QUrl(server_, "/b"), {}, location));  // no Location at all
}

TEST_F(HttpClientTest, BodiesAreCutAtTheReadThatPassesTheLimitAndEndAtANul) {
  const std::string big(2 * 1024 * 1024, 'x');
  server_.Handle(kHost, "GET", "/big", sandbox::Reply(200, big, "text/plain"));
  server_.Handle(kHost, "GET", "/nul", sandbox::Reply(200, std::string("before\0after", 12), "text/plain"));
  server_.Handle(kHost, "GET", "/error", sandbox::Reply(500, "server broke"));
  Start(server_);
  HttpResponse r;
  ASSERT_TRUE(client_.Get(QUrl(server_, "/big"), {}, {}, r));
  EXPECT_GT(r.body_raw.size(), HttpClient::kBodyCutBytes);
  EXPECT_LT(r.body_raw.size(), HttpClient::kBodyCutBytes + 256 * 1024);
  HttpResponse n;
  ASSERT_TRUE(client_.Get(QUrl(server_, "/nul"), {}, {}, n));
  EXPECT_EQ(n.body_raw, "before");
  EXPECT_EQ(n.body_text, "before");
  HttpResponse e;
  ASSERT_TRUE(client_.Get(QUrl(server_, "/error"), {}, {}, e));
  EXPECT_EQ(e.status_code, 500);
  EXPECT_EQ(e.body_text, "server broke");
}

TEST_F(HttpClientTest, SetCookiePairsInHeaderOrder) {
  server_.Handle(kHost, "GET", "/token",
                 sandbox::WithCookies({"_m_h5_tk=abc_123; Path=/; Domain=.alimama.test", "b=2", "; weird=1"},
                                      sandbox::Reply(200, "{}")));
  Start(server_);
  HttpResponse r;
  ASSERT_TRUE(client_.Get(QUrl(server_, "/token"), {}, {}, r));
  EXPECT_EQ(r.set_cookies, "_m_h5_tk=abc_123;b=2; weird=1;");
}

TEST_F(HttpClientTest, TextPassesThroughTheAnsiCodePage) {
  test::ScopedAnsiCodePage gbk("GBK");
  ASSERT_TRUE(gbk.ok());
  server_.Handle(kHost, "POST", "/echo", [](const httplib::Request& req, httplib::Response& res) {
    res.set_content(req.body + "|你ก", "text/plain; charset=utf-8");
  });
  Start(server_);
  HttpResponse r;
  ASSERT_TRUE(client_.Post(QUrl(server_, "/echo"), QString::fromUtf8("好ก"), {}, {}, r));
  EXPECT_EQ(server_.Requests().back().body, "好?");  // the body went through GBK, then UTF-8
  EXPECT_EQ(r.body_raw, "好?|你ก");
  EXPECT_EQ(r.body_text, QByteArray("\xBA\xC3?|\xC4\xE3?"));
}

TEST_F(HttpClientTest, DownloadSavesErrorPagesAndStopsPastItsLimit) {
  FakeClock& clock = clock_;
  ScopedClock use(clock);
  server_.Handle(kHost, "GET", "/missing.jpg", sandbox::Reply(404, "<html>not found</html>"));
  // Ten pieces of five bytes; once a piece is in the file the clock moves
  // on 9 s (never a socket time-out), so the limit of 60 s passes at piece 8.
  const auto slow = [&](const QString& file) {
    std::vector<std::string> pieces;
    for (int i = 0; i < 10; ++i) pieces.push_back("part" + std::to_string(i));
    auto delivered = std::make_shared<int>(0);
    return sandbox::InPieces(pieces, [this, &clock, file, delivered] {
      const qint64 expected = 5 * ++*delivered;
      test::WaitUntil([&] { return QFileInfo(file).size() >= expected || server_.stopping().IsSet(); },
                      std::chrono::seconds(5));
      clock.Advance(9000);
    });
  };
  const QString partial = log_dir_.File("slow.jpg");
  const QString whole = log_dir_.File("whole.jpg");
  server_.Handle(kHost, "GET", "/slow.jpg", slow(partial));
  server_.Handle(kHost, "GET", "/whole.jpg", slow(whole));
  Start(server_);
  const QString saved = log_dir_.File("missing.jpg");
  ASSERT_TRUE(client_.Download(60, QUrl(server_, "/missing.jpg"), saved, {}, {}));
  EXPECT_EQ(test::ReadAll(saved), "<html>not found</html>");

  EXPECT_FALSE(client_.Download(60, QUrl(server_, "/slow.jpg"), partial, {}, {}));
  // Stopped at the first check past the limit: what arrived until then stays.
  const QByteArray kept = test::ReadAll(partial);
  EXPECT_TRUE(kept == "part0part1part2part3part4part5part6part7" || kept == "part0part1part2part3part4part5part6")
      << kept.toStdString();
  EXPECT_TRUE(client_.Download(0, QUrl(server_, "/whole.jpg"), whole, {}, {}));  // no limit
  EXPECT_EQ(test::ReadAll(whole), "part0part1part2part3part4part5part6part7part8part9");
  EXPECT_FALSE(client_.Download(60, QUrl(server_, "/missing.jpg"), log_dir_.File("no/dir/x.jpg"), {}, {}));
}

TEST_F(HttpClientTest, SilentServersAreGivenUpWithinTheBounds) {
  FakeClock& clock = clock_;
  ScopedClock use(clock);
  StandInServer& server = server_;
  // Silence past one socket time-out, and past the whole send wait; each
  // handler moves the clock on as that much waiting would.
  const auto silent_for = [&](qint64 ms) {
    return [&server, &clock, ms](const httplib::Request& req, httplib::Response& res) {
      clock.Advance(ms);
      sandbox::Silent(server)(req, res);
    };
  };
  server_.Handle(kHost, "GET", "/quiet", silent_for(10001));
  server_.Handle(kHost, "GET", "/dead", silent_for(16000));
  Start(server_);
  const auto started = std::chrono::steady_clock::now();

  HttpResponse quiet;
  EXPECT_FALSE(client_.Get(QUrl(server_, "/quiet"), {}, {}, quiet));
  EXPECT_EQ(quiet.error_text, "ThreadHttpSendRequest error. ErrCode=[12002]");

  QString location;
  EXPECT_FALSE(client_.QueryLocation(QUrl(server_, "/dead"), {}, location));
  HttpResponse dead;
  EXPECT_FALSE(client_.Get(QUrl(server_, "/dead"), {}, {}, dead));
  EXPECT_EQ(dead.error_text,
            "ThreadHttpSendRequest error. ErrCode=[connect timeout]ThreadHttpSendRequest error. ErrCode=[12002]");
  EXPECT_FALSE(client_.Download(60, QUrl(server_, "/dead"), log_dir_.File("d.jpg"), {}, {}));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));

  const QStringList lines = LogLines();
  EXPECT_TRUE(lines.contains("QueryLocation-ThreadHttpSendRequest 超时"));
  EXPECT_TRUE(lines.contains("Download-ThreadHttpSendRequest 超时"));
  const qsizetype timed_out = lines.indexOf("ThreadHttpSendRequest 超时");
  ASSERT_GE(timed_out, 0);
  EXPECT_EQ(lines.mid(timed_out, 3),
            (QStringList{"ThreadHttpSendRequest 超时", "ThreadHttpSendRequest 完成", "ThreadHttpSendRequest error"}));
}

}  // namespace
}  // namespace prunko
