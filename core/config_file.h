#pragma once

#include <QString>

#include "core/app_config.h"

namespace prunko {

// config.cfg, an INI file in the ANSI code page (see IniFile):
//   [Velmorind]    username, password (see password_codec.h)
//   [Send]         mode, interval_time, min_commission_rate, filt_repeat_days,
//                  copytext_delay, every_chat_interval_time, qq_keyboard,
//                  timer_count, timer_%d = "%d-%d"
//   [Pid]          wx_default_pid, qq_default_pid, default_pid (read only),
//                  count, chat_pid_%d = "%s*%s*%s" (name, PID, tail)
//   [Site]         upload_to_huizong
//   [General]      check_coupon, filt_coupon_higher_than_price, protect_tkl, tkl_text
//   [Template]     wx_template, qq_template (each CR written as backslash-r)
//   [ShareSession] session_from_mobile
//   [Version]      ver
// Each save rewrites its own keys only; the rest of the file stays as it is.
// Saving a shorter list leaves the old higher-numbered keys in place: the
// loader reads only as many as the count says.

// Writes the program version; creates the file when it is missing.
bool WriteVersion(const QString& config_path);

// The send, site, general and template settings back to their defaults;
// account, PIDs, chat entries, timers and the shared session are kept.
void ResetToDefaults(AppConfig& config);

// Reads config.config_path into `config`, repairing out-of-range numbers.
// False, with `config` untouched, when the file does not exist.
bool LoadConfig(AppConfig& config);

// Each writes one group of settings to config.config_path.
bool SaveAccount(const AppConfig& config);
bool SaveSendSettings(const AppConfig& config);
bool SavePids(const AppConfig& config);
bool SaveTimers(const AppConfig& config);
bool SaveSiteSettings(const AppConfig& config);
bool SaveGeneralSettings(const AppConfig& config);
bool SaveTemplates(const AppConfig& config);
bool SaveShareSession(const AppConfig& config);

}  // namespace prunko
