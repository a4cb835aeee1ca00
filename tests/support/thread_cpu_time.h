#pragma once

#include <time.h>

#include <QtGlobal>
#include <algorithm>
#include <functional>

// The processor time this thread has used, in milliseconds: other work on a
// loaded machine does not count in it.
inline qint64 threadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

// The processor time run takes on this thread, in milliseconds.
inline qint64 msToRun(const std::function<void()>& run) {
  const qint64 start = threadCpuMs();
  run();
  return threadCpuMs() - start;
}

// The least processor time of a few runs: on a loaded machine the caches
// other work shares slow a run down, and the least is nearest the work's own.
inline qint64 leastMsToRun(const std::function<void()>& run, int runs = 2) {
  qint64 least = msToRun(run);
  for (int i = 1; i < runs; ++i) least = std::min(least, msToRun(run));
  return least;
}
