// A damaged or hand-edited config.cfg must load without harm.

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

#include "core/config_file.h"
#include "core/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace prunko;
  static QTemporaryDir dir;
  const QString path = dir.filePath("config.cfg");
  {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
    f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  AppConfig config;
  config.config_path = path;
  LoadConfig(config);
  if (config.mode < 0 || config.mode > 5 || config.interval_time < 1) __builtin_trap();
  IniFile ini(path);
  ini.WriteString(u"Send", u"mode", u"1");
  ini.ReadInt(u"Send", u"mode", 0);
  return 0;
}
