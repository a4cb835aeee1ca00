#include "cli/check_refresh.h"

#include <QEventLoop>

#include "base/core_host.h"
#include "channels/token_refresh.h"
#include "cli/console.h"
#include "cli/token_browser.h"
#include "history/line_key.h"
#include "history/verdict_batch.h"
#include "library/address_rewrite.h"

namespace cli {

CheckRefresh::CheckRefresh(const QString& dir, const check::CheckLimits& limits,
                           CheckPlayerFactory players, QStringList files)
    : m_dir(dir), m_limits(limits), m_players(std::move(players)), m_files(std::move(files)) {}

bool CheckRefresh::holdBack(int index, const playlists::Station& station,
                            const check::CheckResult& result) {
  const QString& line = station.address;
  if (result.playing() || channels::pageOf(line).isEmpty()) return false;
  if (!channels::mayMendFailure(check::reasonKey(result.outcome), result.httpStatus) &&
      !channels::hasExpired(line, QDateTime::currentDateTimeUtc()))
    return false;
  m_held.append({index, station, result, {}});
  return true;
}

void CheckRefresh::run(const Report& report, history::VerdictBatch& verdicts, Console& console) {
  if (m_held.isEmpty()) return;
  refreshAll();
  playlists::StationList fresh;
  for (const Held& h : m_held) {
    if (h.fresh.isEmpty()) {
      report(h.index, h.station, h.result);
      continue;
    }
    writeBack(h, console);
    history::LineVerdict v;
    v.line = history::lineKey(h.fresh);
    v.time = QDateTime::currentDateTimeUtc();
    v.outcome = history::outcome::kRefresh;
    v.source = history::source::kCheck;
    verdicts.add(v);
    fresh.append({h.station.name, h.fresh, h.station.group});
  }
  const QList<check::CheckResult> results = checkAgain(fresh);
  qsizetype next = 0;
  for (const Held& h : m_held) {
    if (h.fresh.isEmpty()) continue;
    report(h.index, fresh.at(next), results.at(next));
    ++next;
  }
}

void CheckRefresh::refreshAll() {
  CoreHost host;
  const auto refresher = commandRefresher(m_dir, host, m_limits.userAgent);
  QEventLoop loop;
  int waiting = 0;
  for (Held& h : m_held) {
    ++waiting;
    refresher->refresh(h.station.address, [&h, &waiting, &loop](const QString& fresh) {
      h.fresh = fresh;
      if (--waiting == 0) loop.quit();
    });
  }
  loop.exec();
}

void CheckRefresh::writeBack(const Held& held, Console& console) const {
  for (const QString& file : m_files) {
    const library::Rewrite r = library::replaceAddress(file, held.station.address, held.fresh);
    if (!r.error.isEmpty()) console.error(cannotWrite(file, r.error));
  }
}

QList<check::CheckResult> CheckRefresh::checkAgain(const playlists::StationList& stations) const {
  QList<check::CheckResult> results(stations.size());
  if (stations.isEmpty()) return results;
  check::StationChecker checker(stations, m_limits, m_players);
  QEventLoop loop;
  QObject::connect(&checker, &check::StationChecker::stationChecked, &loop,
                   [&results](int i, const check::CheckResult& r) { results[i] = r; });
  QObject::connect(&checker, &check::StationChecker::finished, &loop, &QEventLoop::quit,
                   Qt::QueuedConnection);
  QObject::connect(&checker, &check::StationChecker::engineFailed, &loop, &QEventLoop::quit);
  checker.start();
  loop.exec();
  return results;
}

}  // namespace cli
