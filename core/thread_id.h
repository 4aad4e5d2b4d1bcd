#pragma once

#include <QtGlobal>

namespace prunko {

// The operating system's number for the calling thread, as log lines show it.
quint64 CurrentThreadId();

}  // namespace prunko
