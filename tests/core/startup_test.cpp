#include "core/startup.h"

#include <QDir>

#include <gtest/gtest.h>

#include "core/app_config.h"
#include "core/fake_clock.h"
#include "core/log_file.h"
#include "support/test_support.h"

namespace prunko {
namespace {

using test::TempFolder;

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const QString& value) : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name)) {
    if (value.isNull()) {
      qunsetenv(name);
    } else {
      qputenv(name, value.toUtf8());
    }
  }
  ~ScopedEnv() {
    if (had_) {
      qputenv(name_, old_);
    } else {
      qunsetenv(name_);
    }
  }

 private:
  const char* name_;
  QByteArray old_;
  bool had_;
};

TEST(AppPaths, FromPradelunkoHomeOrXdgFolders) {
  TempFolder dir;
  {
    ScopedEnv home("PRADELUNKO_HOME", dir.File("home"));
    const AppPaths p = ComputeAppPaths(dir.File("bin"));
    EXPECT_EQ(p.exe_dir, dir.File("bin/"));
    EXPECT_EQ(p.app_data_dir, dir.File("home/"));
    EXPECT_EQ(p.temp_dir, dir.File("home/prunko_temp/"));
    EXPECT_EQ(p.cached_dir, dir.File("home/cached/"));
    EXPECT_EQ(p.log_dir, dir.File("home/log/"));
  }
  ScopedEnv no_home("PRADELUNKO_HOME", QString());
  ScopedEnv data("XDG_DATA_HOME", dir.File("data"));
  ScopedEnv cache("XDG_CACHE_HOME", dir.File("cache"));
  const AppPaths p = ComputeAppPaths(dir.File("bin/"));
  EXPECT_EQ(p.app_data_dir, dir.File("data/Pradelunko/"));
  EXPECT_EQ(p.temp_dir, dir.File("cache/prunko_temp/"));
  EXPECT_EQ(p.cached_dir, dir.File("data/Pradelunko/cached/"));
  EXPECT_EQ(p.log_dir, dir.File("data/Pradelunko/log/"));
}

struct Recorder {
  int questions = 0;
  bool answer = true;
  QStringList opened;
  QStringList launched;

  StartupHooks Hooks() {
    StartupHooks h;
    h.ask_tutorial = [this] {
      ++questions;
      return answer;
    };
    h.open_url = [this](const QString& url) { opened.append(url); };
    h.launch_detached = [this](const QString& program, const QString& params) {
      launched.append(program + u' ' + params);
    };
    h.tutorial_url = "https://help.example.test/";
    return h;
  }
};

class Startup : public ::testing::Test {
 protected:
  Startup() {
    ResetConfigRecord();
    paths_.app_data_dir = dir_.File("profile/data/Pradelunko/");
    paths_.exe_dir = dir_.File("bin/");
    paths_.temp_dir = dir_.File("tmp/");
    paths_.cached_dir = paths_.app_data_dir + "cached/";
    paths_.log_dir = paths_.app_data_dir + "log/";
  }
  ~Startup() override {
    InstallLogFileWriter({});
    ResetConfigRecord();
  }

  TempFolder dir_;
  AppPaths paths_;
  FakeClock clock_{QDateTime(QDate(2018, 1, 5), QTime(10, 0, 0))};
  ScopedClock use_clock_{clock_};
};

TEST_F(Startup, FirstStartAsksOnceAndPreparesEverything) {
  Recorder r;
  PrepareStartup(paths_, r.Hooks());
  EXPECT_EQ(Paths(), paths_);
  EXPECT_EQ(r.questions, 1);
  EXPECT_EQ(r.opened, QStringList{"https://help.example.test/"});
  EXPECT_EQ(r.launched, QStringList{paths_.exe_dir + UpdaterFileName() + " ver=1.59&auto=1"});
  EXPECT_EQ(test::ReadAll(paths_.app_data_dir + "config.cfg"), "[Version]\r\nver=1.59\r\n");
  EXPECT_EQ(test::ReadAll(paths_.log_dir + "output_2018-1-5.txt"),
            QString::fromUtf8("10:00:00  ======我是一条华丽的分割线=======\r\n\r\n\r\n10:00:00  1.59\r\n").toUtf8());
  const AppConfig config = CurrentConfig();
  EXPECT_EQ(config.config_path, paths_.app_data_dir + "config.cfg");
  EXPECT_EQ(config.mode, 2);
  EXPECT_FALSE(QDir(paths_.temp_dir).exists());  // made when first needed
  EXPECT_FALSE(QDir(paths_.cached_dir).exists());

  Recorder again;
  PrepareStartup(paths_, again.Hooks());
  EXPECT_EQ(again.questions, 0);
}

TEST_F(Startup, LaterStartLoadsTheSavedSettingsOverTheDefaults) {
  QDir().mkpath(paths_.app_data_dir);
  test::WriteAll(paths_.app_data_dir + "config.cfg",
                 "[Velmorind]\r\nusername=13800138000\r\n[Send]\r\nmode=1\r\n[Version]\r\nver=1.50\r\n");
  Recorder r;
  r.answer = false;
  PrepareStartup(paths_, r.Hooks());
  EXPECT_EQ(r.questions, 0);
  const AppConfig config = CurrentConfig();
  EXPECT_EQ(config.username, u"13800138000");
  EXPECT_EQ(config.mode, 1);
  EXPECT_EQ(config.wx_template, QString::fromUtf16(kDefaultTemplate));
  EXPECT_TRUE(test::ReadAll(paths_.app_data_dir + "config.cfg").contains("ver=1.59\r\n"));
}

TEST_F(Startup, NoAnswerOpensNothing) {
  Recorder r;
  r.answer = false;
  PrepareStartup(paths_, r.Hooks());
  EXPECT_EQ(r.questions, 1);
  EXPECT_TRUE(r.opened.isEmpty());
  EXPECT_EQ(r.launched.size(), 1);
}

}  // namespace
}  // namespace prunko
