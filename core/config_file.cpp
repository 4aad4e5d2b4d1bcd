#include "core/config_file.h"

#include <algorithm>
#include <mutex>

#include "core/format.h"
#include "core/ini_file.h"
#include "core/password_codec.h"
#include "core/string_util.h"
#include "core/text_convert.h"
#include "core/version.h"

namespace prunko {
namespace {

constexpr char16_t kAccount[] = u"Velmorind";
constexpr char16_t kSend[] = u"Send";
constexpr char16_t kPid[] = u"Pid";
constexpr char16_t kSite[] = u"Site";
constexpr char16_t kGeneral[] = u"General";
constexpr char16_t kTemplate[] = u"Template";
constexpr char16_t kShareSession[] = u"ShareSession";
constexpr char16_t kVersion[] = u"Version";

// Templates shorter than this are taken as damaged and replaced.
constexpr qsizetype kMinTemplateChars = 10;
// A shared session value must be longer than this to count.
constexpr qsizetype kMinSessionChars = 9;

// Saves are read-modify-write of the whole file; one at a time.
std::mutex file_mutex;

// Opens the file, lets `write` change it and saves it in one step.
template <typename Write>
bool Rewrite(const QString& path, Write write) {
  std::lock_guard lock(file_mutex);
  IniFile ini(path);
  write(ini);
  return ini.Save();
}

int InRange(int value, int low, int high, int fallback) {
  return value < low || value > high ? fallback : value;
}

QString TemplateToFile(const QString& text) {
  QString stored = text;
  // The file holds one line per key, so every line break is stored as
  // backslash-r; the template's own line break is the CR.
  stored.replace(QLatin1String("\r\n"), QLatin1String("\r")).replace(u'\n', u'\r');
  ReplaceAll(stored, u"\r", u"\\r");
  return stored;
}

QString TemplateFromFile(const QString& stored) {
  if (stored.size() < kMinTemplateChars) return QString::fromUtf16(kDefaultTemplate);
  QString text = stored;
  ReplaceAll(text, u"\\r", u"\r");
  return text;
}

void LoadSendSettings(const IniFile& ini, AppConfig& c) {
  c.mode = InRange(ini.ReadInt(kSend, u"mode", c.mode), 0, 5, 0);
  c.interval_time = qMax(1, ini.ReadInt(kSend, u"interval_time", c.interval_time));
  c.min_commission_rate = InRange(ini.ReadInt(kSend, u"min_commission_rate", c.min_commission_rate), 1, 99, 10);
  c.filt_repeat_days = InRange(ini.ReadInt(kSend, u"filt_repeat_days", c.filt_repeat_days), 0, 364, 3);
  c.copytext_delay = InRange(ini.ReadInt(kSend, u"copytext_delay", c.copytext_delay), 1, 60, 3);
  c.every_chat_interval_time =
      InRange(ini.ReadInt(kSend, u"every_chat_interval_time", c.every_chat_interval_time), 0, 60, 3);
  c.qq_keyboard = InRange(ini.ReadInt(kSend, u"qq_keyboard", c.qq_keyboard), 0, 2, 0);
}

// The indices i below `count` whose key `prefix` + i is in the section, in
// ascending order: what reading every key from 0 to count - 1 would find,
// without looping over a count that a damaged file may have made huge.
QList<int> ListedIndices(const IniFile& ini, QStringView section, QStringView prefix, int count) {
  QList<int> indices;
  for (const QString& key : ini.Keys(section)) {
    if (!key.startsWith(prefix, Qt::CaseInsensitive)) continue;
    bool number = false;
    const int i = key.mid(prefix.size()).toInt(&number);
    const QString exact = prefix.toString() + QString::number(i);
    if (number && i >= 0 && i < count && key.compare(exact, Qt::CaseInsensitive) == 0 && !indices.contains(i)) {
      indices.append(i);
    }
  }
  std::sort(indices.begin(), indices.end());
  return indices;
}

void LoadPids(const IniFile& ini, AppConfig& c) {
  c.wx_default_pid = ini.ReadString(kPid, u"wx_default_pid");
  c.qq_default_pid = ini.ReadString(kPid, u"qq_default_pid");
  if (c.wx_default_pid.isEmpty()) c.wx_default_pid = ini.ReadString(kPid, u"default_pid");
  c.chat_pids.clear();
  for (const int i : ListedIndices(ini, kPid, u"chat_pid_", ini.ReadInt(kPid, u"count", 0))) {
    const QStringList pieces = SplitString(ini.ReadString(kPid, FormatString(u"chat_pid_%d", i)), u"*");
    if (pieces.size() < 2) continue;
    c.chat_pids.append({pieces[0], pieces[1], pieces.value(2)});
  }
}

void LoadTimers(const IniFile& ini, AppConfig& c) {
  c.timers.clear();
  for (const int i : ListedIndices(ini, kSend, u"timer_", ini.ReadInt(kSend, u"timer_count", 0))) {
    const QStringList pieces = SplitString(ini.ReadString(kSend, FormatString(u"timer_%d", i)), u"-");
    if (pieces.size() < 2) continue;
    c.timers.append({WideToLong(pieces[0]), WideToLong(pieces[1])});
  }
}

}  // namespace

bool WriteVersion(const QString& config_path) {
  return Rewrite(config_path, [](IniFile& ini) { ini.WriteString(kVersion, u"ver", kProgramVersion); });
}

void ResetToDefaults(AppConfig& config) {
  const AppConfig defaults;
  config.mode = defaults.mode;
  config.interval_time = defaults.interval_time;
  config.min_commission_rate = defaults.min_commission_rate;
  config.filt_repeat_days = defaults.filt_repeat_days;
  config.copytext_delay = defaults.copytext_delay;
  config.every_chat_interval_time = defaults.every_chat_interval_time;
  config.qq_keyboard = defaults.qq_keyboard;
  config.upload_to_huizong = defaults.upload_to_huizong;
  config.check_coupon = defaults.check_coupon;
  config.filt_coupon_higher_than_price = defaults.filt_coupon_higher_than_price;
  config.protect_tkl = defaults.protect_tkl;
  config.tkl_text = defaults.tkl_text;
  config.wx_template = defaults.wx_template;
  config.qq_template = defaults.qq_template;
}

bool LoadConfig(AppConfig& config) {
  std::unique_lock lock(file_mutex);
  const IniFile ini(config.config_path);
  lock.unlock();
  if (!ini.existed()) return false;
  AppConfig& c = config;
  c.username = ini.ReadString(kAccount, u"username");
  c.password = UnscramblePassword(ini.ReadString(kAccount, u"password"));
  LoadSendSettings(ini, c);
  LoadPids(ini, c);
  LoadTimers(ini, c);
  c.upload_to_huizong = ini.ReadInt(kSite, u"upload_to_huizong", c.upload_to_huizong);
  c.check_coupon = ini.ReadInt(kGeneral, u"check_coupon", c.check_coupon);
  c.filt_coupon_higher_than_price =
      ini.ReadInt(kGeneral, u"filt_coupon_higher_than_price", c.filt_coupon_higher_than_price);
  c.protect_tkl = ini.ReadInt(kGeneral, u"protect_tkl", c.protect_tkl);
  c.tkl_text = ini.ReadString(kGeneral, u"tkl_text");
  c.wx_template = TemplateFromFile(ini.ReadString(kTemplate, u"wx_template"));
  c.qq_template = TemplateFromFile(ini.ReadString(kTemplate, u"qq_template"));
  const QString session = ini.ReadString(kShareSession, u"session_from_mobile");
  if (session.size() > kMinSessionChars) c.session_from_mobile = session;
  return true;
}

bool SaveAccount(const AppConfig& c) {
  return Rewrite(c.config_path, [&](IniFile& ini) {
    ini.WriteString(kAccount, u"username", c.username);
    ini.WriteString(kAccount, u"password", ScramblePassword(c.password));
  });
}

bool SaveSendSettings(const AppConfig& c) {
  return Rewrite(c.config_path, [&](IniFile& ini) {
    ini.WriteInt(kSend, u"mode", c.mode);
    ini.WriteInt(kSend, u"interval_time", c.interval_time);
    ini.WriteInt(kSend, u"min_commission_rate", c.min_commission_rate);
    ini.WriteInt(kSend, u"filt_repeat_days", c.filt_repeat_days);
    ini.WriteInt(kSend, u"copytext_delay", c.copytext_delay);
    ini.WriteInt(kSend, u"every_chat_interval_time", c.every_chat_interval_time);
    ini.WriteInt(kSend, u"qq_keyboard", c.qq_keyboard);
  });
}

bool SavePids(const AppConfig& c) {
  return Rewrite(c.config_path, [&](IniFile& ini) {
    ini.WriteString(kPid, u"wx_default_pid", c.wx_default_pid);
    ini.WriteString(kPid, u"qq_default_pid", c.qq_default_pid);
    ini.WriteInt(kPid, u"count", static_cast<int>(c.chat_pids.size()));
    for (int i = 0; i < c.chat_pids.size(); ++i) {
      const ChatPidEntry& e = c.chat_pids[i];
      ini.WriteString(kPid, FormatString(u"chat_pid_%d", i), FormatString(u"%s*%s*%s", e.chat_name, e.pid, e.tail));
    }
  });
}

bool SaveTimers(const AppConfig& c) {
  return Rewrite(c.config_path, [&](IniFile& ini) {
    ini.WriteInt(kSend, u"timer_count", static_cast<int>(c.timers.size()));
    for (int i = 0; i < c.timers.size(); ++i) {
      ini.WriteString(kSend, FormatString(u"timer_%d", i),
                      FormatString(u"%d-%d", c.timers[i].start_hour, c.timers[i].end_hour));
    }
  });
}

bool SaveSiteSettings(const AppConfig& c) {
  return Rewrite(c.config_path, [&](IniFile& ini) { ini.WriteInt(kSite, u"upload_to_huizong", c.upload_to_huizong); });
}

bool SaveGeneralSettings(const AppConfig& c) {
  return Rewrite(c.config_path, [&](IniFile& ini) {
    ini.WriteInt(kGeneral, u"check_coupon", c.check_coupon);
    ini.WriteInt(kGeneral, u"filt_coupon_higher_than_price", c.filt_coupon_higher_than_price);
    ini.WriteInt(kGeneral, u"protect_tkl", c.protect_tkl);
    ini.WriteString(kGeneral, u"tkl_text", c.tkl_text);
  });
}

bool SaveTemplates(const AppConfig& c) {
  return Rewrite(c.config_path, [&](IniFile& ini) {
    ini.WriteString(kTemplate, u"wx_template", TemplateToFile(c.wx_template));
    ini.WriteString(kTemplate, u"qq_template", TemplateToFile(c.qq_template));
  });
}

bool SaveShareSession(const AppConfig& c) {
  return Rewrite(c.config_path,
                 [&](IniFile& ini) { ini.WriteString(kShareSession, u"session_from_mobile", c.session_from_mobile); });
}

}  // namespace prunko
