#include "core/thread_id.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace prunko {

quint64 CurrentThreadId() {
#ifdef Q_OS_WIN
  return GetCurrentThreadId();
#else
  return static_cast<quint64>(syscall(SYS_gettid));
#endif
}

}  // namespace prunko
