#pragma once

#include <QString>
#include <QStringView>

#include <mutex>
#include <span>

#include "core/format.h"

namespace prunko {

// Told when the log text changed while the log window is shown. Called on the
// printing thread: a window posts itself a refresh and reads Text() there.
class LogSinkListener {
 public:
  virtual ~LogSinkListener() = default;
  virtual void LogTextChanged() = 0;
};

// The in-memory log behind the log window: every printed line goes to the
// day's output file and to the window's text, which keeps the last 30000 to
// 31000 characters. Each print pauses 50 ms inside the lock, which bounds the
// logging rate of all threads together to about twenty lines a second.
class LogSink {
 public:
  static constexpr qsizetype kTrimAbove = 31000;
  static constexpr qsizetype kKeepChars = 30000;
  static constexpr qsizetype kPrintBufferChars = 2097152;
  static constexpr qint64 kPauseMs = 50;

  template <typename... Args>
  void Print(QStringView format, const Args&... args) {
    const std::array<FormatArg, sizeof...(Args)> list{FormatArg(args)...};
    PrintArgs(format, list);
  }
  void PrintArgs(QStringView format, std::span<const FormatArg> args);

  // A consistent copy of the text.
  QString Text() const;
  // Whether the window is shown; the listener hears of changes only then.
  void SetVisible(bool visible);
  bool visible() const;
  void SetListener(LogSinkListener* listener);
  // Empties the text (tests).
  void Clear();

 private:
  mutable std::mutex mutex_;
  QString log_text_;
  bool visible_ = false;
  LogSinkListener* listener_ = nullptr;
};

// The process's log.
LogSink& AppLog();

template <typename... Args>
void LogPrint(QStringView format, const Args&... args) {
  AppLog().Print(format, args...);
}

}  // namespace prunko
