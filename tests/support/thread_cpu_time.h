#pragma once

#include <time.h>

#include <QtGlobal>
#include <functional>

// Milliseconds of processor time the calling thread spends in run, so that
// other work on a loaded machine does not count.
inline qint64 msToRun(const std::function<void()>& run) {
  const auto now = [] {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
  };
  const qint64 start = now();
  run();
  return now() - start;
}
