#pragma once

#include <QtGlobal>

namespace webengine {

// The resident memory of a process in bytes, from /proc; -1 when it cannot
// be read (the process has ended).
qint64 residentBytes(qint64 pid);

}  // namespace webengine
