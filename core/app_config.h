#pragma once

#include <QList>
#include <QString>

#include <functional>

namespace prunko {

// One daily sending window: start_hour <= hour < end_hour of the local clock.
struct TimerWindow {
  int start_hour = 0;
  int end_hour = 0;
  bool operator==(const TimerWindow&) const = default;
};

// A chat's own promotion position and the text appended to its messages.
struct ChatPidEntry {
  QString chat_name;
  QString pid;
  QString tail;
  bool operator==(const ChatPidEntry&) const = default;
};

// The copy-text template used until the user saves one of their own: 93
// characters, lines ended by CR.
inline constexpr char16_t kDefaultTemplate[] =
    u"【{店铺类型}】{短标题}\r【原价】{原价}元\r【券后价】{券后价}元\r"
    u"【领券下单】复制这条信息，打开「手机淘宝」领券下单{二合一淘口令}\r"
    u"链接：{二合一短链接}\r【推荐理由】{介绍}\r";

// Every setting of config.cfg; see config_file.h for how it is stored.
struct AppConfig {
  QString config_path;
  QString username;
  QString password;  // in clear text in memory only
  int mode = 2;
  int interval_time = 5;
  int min_commission_rate = 10;
  int filt_repeat_days = 3;
  int copytext_delay = 3;
  int every_chat_interval_time = 3;
  int qq_keyboard = 0;
  QList<TimerWindow> timers;
  QString wx_default_pid;
  QString qq_default_pid;
  QList<ChatPidEntry> chat_pids;
  int upload_to_huizong = 0;
  int check_coupon = 1;
  int filt_coupon_higher_than_price = 0;
  int protect_tkl = 0;
  QString tkl_text;
  QString wx_template = QString::fromUtf16(kDefaultTemplate);
  QString qq_template = QString::fromUtf16(kDefaultTemplate);
  QString session_from_mobile;

  bool operator==(const AppConfig&) const = default;
};

// The process's configuration. Written by the UI thread and the login
// windows, read by the workers: readers get a consistent copy, writers edit
// under the same lock.
AppConfig CurrentConfig();
void UpdateConfig(const std::function<void(AppConfig&)>& edit);
// Back to a record of defaults (tests).
void ResetConfigRecord();

}  // namespace prunko
