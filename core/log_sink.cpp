#include "core/log_sink.h"

#include "core/clock.h"
#include "core/date_util.h"
#include "core/log_file.h"

namespace prunko {

void LogSink::PrintArgs(QStringView format, std::span<const FormatArg> args) {
  std::lock_guard lock(mutex_);
  try {
    const QString text = FormatArgs(format, args, kPrintBufferChars - 1);
    WriteOutput(text);
    log_text_ += TimeString();
    log_text_ += u"  ";
    log_text_ += text;
    log_text_ += u'\n';
    if (log_text_.size() > kTrimAbove) log_text_.remove(0, log_text_.size() - kKeepChars);
    if (visible_ && listener_) listener_->LogTextChanged();
  } catch (...) {
    WriteError(u"CLogWnd::Print发生一个异常");
  }
  CurrentClock().Sleep(kPauseMs);
}

QString LogSink::Text() const {
  std::lock_guard lock(mutex_);
  return log_text_;
}

void LogSink::SetVisible(bool visible) {
  std::lock_guard lock(mutex_);
  visible_ = visible;
}

bool LogSink::visible() const {
  std::lock_guard lock(mutex_);
  return visible_;
}

void LogSink::SetListener(LogSinkListener* listener) {
  std::lock_guard lock(mutex_);
  listener_ = listener;
}

void LogSink::Clear() {
  std::lock_guard lock(mutex_);
  log_text_.clear();
}

LogSink& AppLog() {
  static LogSink sink;
  return sink;
}

}  // namespace prunko
