#include "core/config_file.h"

#include <gtest/gtest.h>

#include <thread>

#include "core/ini_file.h"
#include "support/test_support.h"

namespace prunko {
namespace {

using test::TempFolder;

class ConfigFile : public ::testing::Test {
 protected:
  AppConfig Fresh() const {
    AppConfig c;
    c.config_path = path_;
    return c;
  }
  AppConfig Loaded() const {
    AppConfig c = Fresh();
    EXPECT_TRUE(LoadConfig(c));
    return c;
  }
  void Write(const QByteArray& text) { test::WriteAll(path_, text); }

  TempFolder dir_;
  const QString path_ = dir_.File("config.cfg");
};

TEST_F(ConfigFile, FirstStartHoldsOnlyTheVersion) {
  AppConfig c = Fresh();
  EXPECT_FALSE(LoadConfig(c));
  EXPECT_EQ(c, Fresh());
  EXPECT_TRUE(WriteVersion(path_));
  EXPECT_EQ(test::ReadAll(path_), "[Version]\r\nver=1.59\r\n");
  EXPECT_EQ(Loaded(), Fresh());  // every default in place
  EXPECT_EQ(Fresh().wx_template.size(), 93);
  EXPECT_FALSE(WriteVersion(dir_.File("missing/config.cfg")));
}

TEST_F(ConfigFile, EveryGroupRoundTrips) {
  AppConfig c = Fresh();
  c.username = "13800138000";
  c.password = "p&ss=word 密";
  c.mode = 1;
  c.interval_time = 30;
  c.min_commission_rate = 25;
  c.filt_repeat_days = 0;
  c.copytext_delay = 60;
  c.every_chat_interval_time = 0;
  c.qq_keyboard = 1;
  c.timers = {{8, 12}, {14, 23}};
  c.wx_default_pid = "mm_1_2_3";
  c.qq_default_pid = "mm_4_5_6";
  c.chat_pids = {{QString::fromUtf8("特价群"), "mm_7_8_9", QString::fromUtf8("尾巴")}, {"qq群", "mm_1_1_1", ""}};
  c.upload_to_huizong = 1;
  c.check_coupon = 0;
  c.filt_coupon_higher_than_price = 1;
  c.protect_tkl = 1;
  c.tkl_text = QString::fromUtf8("复制打开");
  c.wx_template = QString::fromUtf8("第一行{短标题}\r第二行\r第三行");
  c.qq_template = QString::fromUtf8("{短标题}\r\n{券后价}\n{介绍}");
  c.session_from_mobile = "6100a1b2c3d4e5f";

  for (const auto save : {SaveAccount, SaveSendSettings, SavePids, SaveTimers, SaveSiteSettings,
                          SaveGeneralSettings, SaveTemplates, SaveShareSession}) {
    EXPECT_TRUE(save(c));
  }
  AppConfig expected = c;
  // Every line break of a template is stored, and comes back, as CR.
  expected.qq_template = QString::fromUtf8("{短标题}\r{券后价}\r{介绍}");
  EXPECT_EQ(Loaded(), expected);
  EXPECT_TRUE(test::ReadAll(path_).contains("wx_template=" + QString::fromUtf8("第一行{短标题}\\r第二行\\r第三行").toUtf8()));
}

TEST_F(ConfigFile, RangeRules) {
  const struct {
    const char* key;
    const char* stored;
    int AppConfig::*field;
    int loaded;
  } cases[] = {
      {"mode", "6", &AppConfig::mode, 0},
      {"mode", "5", &AppConfig::mode, 5},
      {"interval_time", "-4", &AppConfig::interval_time, 1},
      {"interval_time", "0", &AppConfig::interval_time, 1},
      {"interval_time", "600", &AppConfig::interval_time, 600},
      {"min_commission_rate", "0", &AppConfig::min_commission_rate, 10},
      {"min_commission_rate", "100", &AppConfig::min_commission_rate, 10},
      {"min_commission_rate", "99", &AppConfig::min_commission_rate, 99},
      {"filt_repeat_days", "365", &AppConfig::filt_repeat_days, 3},
      {"filt_repeat_days", "0", &AppConfig::filt_repeat_days, 0},
      {"copytext_delay", "0", &AppConfig::copytext_delay, 3},
      {"copytext_delay", "61", &AppConfig::copytext_delay, 3},
      {"every_chat_interval_time", "0", &AppConfig::every_chat_interval_time, 0},
      {"every_chat_interval_time", "61", &AppConfig::every_chat_interval_time, 3},
      {"qq_keyboard", "2", &AppConfig::qq_keyboard, 2},
      {"qq_keyboard", "3", &AppConfig::qq_keyboard, 0},
      {"mode", "", &AppConfig::mode, 2},  // empty: the default
  };
  for (const auto& c : cases) {
    Write(QByteArray("[Send]\r\n") + c.key + "=" + c.stored + "\r\n");
    EXPECT_EQ(Loaded().*(c.field), c.loaded) << c.key << "=" << c.stored;
  }
}

TEST_F(ConfigFile, TemplatesSessionAndDefaultPid) {
  Write("[Template]\r\nwx_template=123456789\r\nqq_template=1234567890\r\n"
        "[ShareSession]\r\nsession_from_mobile=123456789\r\n"
        "[Pid]\r\ndefault_pid=mm_9_9_9\r\n");
  AppConfig c = Loaded();
  EXPECT_EQ(c.wx_template, QString::fromUtf16(kDefaultTemplate));  // 9 characters
  EXPECT_EQ(c.qq_template, u"1234567890");
  EXPECT_EQ(c.session_from_mobile, u"");  // not longer than 9
  EXPECT_EQ(c.wx_default_pid, u"mm_9_9_9");
  Write("[ShareSession]\r\nsession_from_mobile=1234567890\r\n[Pid]\r\nwx_default_pid=mm_1\r\ndefault_pid=mm_9\r\n");
  c = Loaded();
  EXPECT_EQ(c.session_from_mobile, u"1234567890");
  EXPECT_EQ(c.wx_default_pid, u"mm_1");
}

TEST_F(ConfigFile, ChatEntriesAndTimersAreReadAsStored) {
  Write("[Pid]\r\ncount=5\r\n"
        "chat_pid_0=group*mm_1_2_3*tail\r\n"
        "chat_pid_1=x**y\r\n"          // empty pieces are dropped
        "chat_pid_2=a*b*c*d\r\n"       // a name with "*" cannot come back
        "chat_pid_3=lonely\r\n"        // skipped
        "chat_pid_5=beyond*count\r\n"  // stale
        "[Send]\r\ntimer_count=3\r\ntimer_0=8-22\r\ntimer_1=x-y\r\ntimer_2=7\r\n");
  const AppConfig c = Loaded();
  const QList<ChatPidEntry> chats{{"group", "mm_1_2_3", "tail"}, {"x", "y", ""}, {"a", "b", "c"}};
  EXPECT_EQ(c.chat_pids, chats);
  const QList<TimerWindow> timers{{8, 22}, {0, 0}};
  EXPECT_EQ(c.timers, timers);
}

TEST_F(ConfigFile, ShorterListsLeaveStaleKeysThatAreNotLoaded) {
  AppConfig c = Fresh();
  c.chat_pids = {{"a", "1", ""}, {"b", "2", ""}, {"c", "3", ""}};
  c.timers = {{1, 2}, {3, 4}};
  ASSERT_TRUE(SavePids(c) && SaveTimers(c));
  c.chat_pids.removeLast();
  c.timers.removeLast();
  ASSERT_TRUE(SavePids(c) && SaveTimers(c));
  EXPECT_EQ(IniFile(path_).ReadString(u"Pid", u"chat_pid_2"), u"c*3*");
  EXPECT_EQ(Loaded().chat_pids, c.chat_pids);
  EXPECT_EQ(Loaded().timers, c.timers);
}

TEST_F(ConfigFile, AHugeCountReadsOnlyTheKeysThatAreThere) {
  Write("[Pid]\r\ncount=2147483647\r\nCHAT_PID_7=late*mm_7\r\nchat_pid_01=padded*mm_1\r\nchat_pid_2=b*mm_2\r\n"
        "[Send]\r\ntimer_count=2000000000\r\ntimer_count_x=1\r\ntimer_0=8-9\r\n");
  const AppConfig c = Loaded();  // at once, not after two billion lookups
  const QList<ChatPidEntry> chats{{"b", "mm_2", ""}, {"late", "mm_7", ""}};  // "01" is not the key of 1
  EXPECT_EQ(c.chat_pids, chats);
  EXPECT_EQ(c.timers, (QList<TimerWindow>{{8, 9}}));
}

TEST_F(ConfigFile, PasswordStorage) {
  AppConfig c = Fresh();
  c.password = "abc123";
  ASSERT_TRUE(SaveAccount(c));
  EXPECT_EQ(IniFile(path_).ReadString(u"Velmorind", u"password"), u"\\ZMmPWL}@@@");
  EXPECT_EQ(Loaded().password, u"abc123");
  Write("[Velmorind]\r\npassword=YWJjMTIz\r\n");  // unshifted
  EXPECT_EQ(Loaded().password, u"abc123");
}

TEST_F(ConfigFile, ResetToDefaultsKeepsAccountPidsAndLists) {
  AppConfig c = Fresh();
  c.username = "u";
  c.wx_default_pid = "mm_1";
  c.chat_pids = {{"a", "b", "c"}};
  c.timers = {{1, 2}};
  c.session_from_mobile = "s";
  AppConfig kept = c;
  c.mode = 0;
  c.min_commission_rate = 50;
  c.check_coupon = 0;
  c.tkl_text = "t";
  c.wx_template = "w";
  ResetToDefaults(c);
  EXPECT_EQ(c, kept);
}

TEST_F(ConfigFile, SavesKeepOtherKeysAndConcurrentSavesLoseNothing) {
  Write("; user notes\r\n[Custom]\r\nmine=1\r\n[Send]\r\nextra=x\r\n");
  AppConfig c = Fresh();
  c.username = "u";
  c.mode = 1;
  std::thread a([&] {
    for (int i = 0; i < 20; ++i) SaveAccount(c);
  });
  std::thread b([&] {
    for (int i = 0; i < 20; ++i) SaveSendSettings(c);
  });
  a.join();
  b.join();
  const IniFile ini(path_);
  EXPECT_EQ(ini.ReadString(u"Custom", u"mine"), u"1");
  EXPECT_EQ(ini.ReadString(u"Send", u"extra"), u"x");
  EXPECT_EQ(ini.ReadString(u"Velmorind", u"username"), u"u");
  EXPECT_EQ(ini.ReadInt(u"Send", u"mode", -1), 1);
  EXPECT_TRUE(test::ReadAll(path_).startsWith("; user notes\r\n"));
}

}  // namespace
}  // namespace prunko
