#include <QDir>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "core/fake_clock.h"
#include "core/log_file.h"
#include "core/log_sink.h"
#include "support/test_support.h"

namespace prunko {
namespace {

using test::TempFolder;

TEST(LogFileWriter, DailyFilesAcrossMidnight) {
  TempFolder dir;
  FakeClock clock(QDateTime(QDate(2018, 1, 5), QTime(23, 59, 58)));
  ScopedClock use(clock);
  LogFileWriter writer(dir.path() + "log");  // the separator is added
  writer.WriteOutput(u"one");
  writer.WriteError(QString::fromUtf8("GoodsManager::ThreadWorker发生一个异常"));
  clock.Advance(3000);
  writer.WriteOutput(u"two");
  EXPECT_EQ(test::ReadAll(dir.File("log/output_2018-1-5.txt")), "23:59:58  one\r\n");
  EXPECT_EQ(test::ReadAll(dir.File("log/err_2018-1-5.txt")),
            QString::fromUtf8("23:59:58  GoodsManager::ThreadWorker发生一个异常\r\n").toUtf8());
  EXPECT_EQ(test::ReadAll(dir.File("log/output_2018-1-6.txt")), "00:00:01  two\r\n");
}

TEST(LogFileWriter, RecreatesItsFolderAndWritesAnsi) {
  TempFolder dir;
  FakeClock clock(QDateTime(QDate(2017, 5, 26), QTime(8, 0, 0)));
  ScopedClock use(clock);
  test::ScopedAnsiCodePage gbk("GBK");
  ASSERT_TRUE(gbk.ok());
  LogFileWriter writer(dir.File("log/"));
  writer.WriteOutput(u"a");
  ASSERT_TRUE(QDir(dir.File("log")).removeRecursively());
  writer.WriteOutput(QString::fromUtf8("你ก"));
  writer.WriteOutput(u"line\r\n");
  EXPECT_EQ(test::ReadAll(dir.File("log/output_2017-5-26.txt")), "08:00:00  \xC4\xE3?\r\n08:00:00  line\r\n\r\n");
}

TEST(LogFileWriter, AnEntryThatCannotBeWrittenIsLostAlone) {
  TempFolder dir;
  FakeClock clock(QDateTime(QDate(2018, 1, 5), QTime(9, 0, 0)));
  ScopedClock use(clock);
  ASSERT_TRUE(QDir().mkpath(dir.File("log/output_2018-1-5.txt")));  // a folder in the file's place
  LogFileWriter writer(dir.File("log"));
  writer.WriteOutput(u"lost");
  writer.WriteError(u"kept");
  EXPECT_EQ(test::ReadAll(dir.File("log/err_2018-1-5.txt")), "09:00:00  kept\r\n");
}

TEST(LogFileWriter, ProcessWriterAndConcurrentAppends) {
  TempFolder dir;
  FakeClock clock(QDateTime(QDate(2018, 1, 5), QTime(9, 0, 0)));
  ScopedClock use(clock);
  WriteOutput(u"dropped before a writer exists");
  InstallLogFileWriter(dir.File("log"));
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([] {
      for (int i = 0; i < 50; ++i) WriteOutput(u"entry");
    });
  }
  for (auto& t : threads) t.join();
  InstallLogFileWriter({});
  WriteOutput(u"dropped after");
  const QByteArray all = test::ReadAll(dir.File("log/output_2018-1-5.txt"));
  EXPECT_EQ(all.count("09:00:00  entry\r\n"), 200);
  EXPECT_EQ(all.size(), 200 * 17);
}

class CountingListener : public LogSinkListener {
 public:
  void LogTextChanged() override { ++calls; }
  std::atomic<int> calls{0};
};

TEST(LogSink, PrintsToFileAndTextPausingThroughTheClock) {
  TempFolder dir;
  FakeClock clock(QDateTime(QDate(2018, 1, 5), QTime(9, 30, 0)));
  ScopedClock use(clock);
  InstallLogFileWriter(dir.File("log"));
  LogSink sink;
  sink.Print(u"【×】%s", QString::fromUtf8("CPanelSendUI::ThreadSend中发生一个异常"));
  sink.Print(u"rate %.1f%% of %d", 12.25, 3);
  InstallLogFileWriter({});
  EXPECT_EQ(sink.Text(), QString::fromUtf8("09:30:00  【×】CPanelSendUI::ThreadSend中发生一个异常\n"
                                           "09:30:00  rate 12.2% of 3\n"));
  EXPECT_EQ(test::ReadAll(dir.File("log/output_2018-1-5.txt")),
            QString::fromUtf8("09:30:00  【×】CPanelSendUI::ThreadSend中发生一个异常\r\n"
                              "09:30:00  rate 12.2% of 3\r\n")
                .toUtf8());
  EXPECT_EQ(clock.Sleeps(), (std::vector<qint64>{50, 50}));
}

TEST(LogSink, KeepsTheLast30000CharactersOncePast31000) {
  FakeClock clock;
  ScopedClock use(clock);
  LogSink sink;
  const QString line(89, u'x');  // 100 characters a line with time and "\n"
  for (int i = 0; i < 310; ++i) sink.Print(u"%s", line);
  EXPECT_EQ(sink.Text().size(), 31000);  // not yet above
  sink.Print(u"%s", u"last");
  const QString text = sink.Text();
  EXPECT_EQ(text.size(), 30000);
  EXPECT_TRUE(text.endsWith(u"  last\n"));
  EXPECT_EQ(text.count(u'\n'), 301);
}

TEST(LogSink, TellsTheListenerOnlyWhileShown) {
  FakeClock clock;
  ScopedClock use(clock);
  LogSink sink;
  CountingListener listener;
  sink.SetListener(&listener);
  sink.Print(u"hidden");
  EXPECT_EQ(listener.calls.load(), 0);
  sink.SetVisible(true);
  sink.Print(u"shown");
  EXPECT_EQ(listener.calls.load(), 1);
  EXPECT_TRUE(sink.Text().contains(u"hidden"));  // what the window shows on opening
  sink.SetVisible(false);
  sink.Print(u"hidden again");
  EXPECT_EQ(listener.calls.load(), 1);
}

TEST(LogSink, ConcurrentPrintersAndAReader) {
  FakeClock clock;
  ScopedClock use(clock);
  LogSink sink;
  CountingListener listener;
  sink.SetListener(&listener);
  sink.SetVisible(true);
  std::atomic<bool> done{false};
  std::thread reader([&] {
    while (!done) {
      const QString copy = sink.Text();
      ASSERT_TRUE(copy.isEmpty() || copy.endsWith(u'\n'));
    }
  });
  std::vector<std::thread> printers;
  for (int t = 0; t < 3; ++t) {
    printers.emplace_back([&sink, t] {
      for (int i = 0; i < 200; ++i) sink.Print(u"thread %d line %d", t, i);
    });
  }
  for (auto& p : printers) p.join();
  done = true;
  reader.join();
  EXPECT_EQ(listener.calls.load(), 600);
  EXPECT_EQ(clock.Sleeps().size(), 600u);
}

}  // namespace
}  // namespace prunko
