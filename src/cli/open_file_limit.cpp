#include "cli/open_file_limit.h"

#include <sys/resource.h>

#include <algorithm>
#include <limits>

#include "cli/console.h"

namespace cli {

namespace {

// A probe holds its socket, and the probed stations waiting for an engine
// hold their connections (a socket and an eventfd each); an engine holds its
// stream and a few pipes of its own.
constexpr qint64 kPerProbe = 1 + 2 * check::kWaitingPerProbe;
constexpr qint64 kPerEngine = 6;
// Standard streams, the result files and their locks, libraries, name lookups.
constexpr qint64 kReserved = 64;

qint64 openFileLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return RLIM_INFINITY;
  if (limit.rlim_cur < limit.rlim_max) {
    const rlim_t soft = limit.rlim_cur;
    limit.rlim_cur = limit.rlim_max;
    if (setrlimit(RLIMIT_NOFILE, &limit) != 0) limit.rlim_cur = soft;
  }
  return limit.rlim_cur == RLIM_INFINITY ? std::numeric_limits<qint64>::max()
                                         : static_cast<qint64>(limit.rlim_cur);
}

qint64 openFilesNeeded(int probes, int engines) {
  return kReserved + kPerProbe * probes + kPerEngine * engines;
}

}  // namespace

void fitOpenFileLimit(check::CheckLimits& limits, Console& console) {
  const qint64 limit = openFileLimit();
  if (limit >= openFilesNeeded(limits.probes, limits.engines)) return;
  const qint64 room = std::max<qint64>(0, limit - kReserved);
  const int engines = static_cast<int>(
      std::clamp<qint64>((room - kPerProbe) / kPerEngine, 1, limits.engines));
  const int probes = static_cast<int>(
      std::clamp<qint64>((room - kPerEngine * engines) / kPerProbe, 1, limits.probes));
  console.error(QStringLiteral("打开文件数上限 %1 不够 %2 个探测和 %3 个播放器，改用 %4 个探测和 %5 个播放器"
                               " / the open-file limit of %1 is too low for %2 probes and %3 "
                               "engines: using %4 probes and %5 engines")
                    .arg(limit)
                    .arg(limits.probes)
                    .arg(limits.engines)
                    .arg(probes)
                    .arg(engines));
  limits.probes = probes;
  limits.engines = engines;
}

}  // namespace cli
