#pragma once

#include <QList>
#include <QStringList>
#include <functional>

#include "check/station_checker.h"

namespace history {
class VerdictBatch;
}

namespace cli {

class Console;

// nettv check --refresh: a station that failed so that a fresh token may
// mend it (refused as forbidden or not found, or its token expired) and that
// was found on a page is held back from the report. Once the check is over
// the pages are loaded again, the addresses found there checked, and
// written into the files the stations came from.
class CheckRefresh {
 public:
  using Report = std::function<void(int index, const playlists::Station& station,
                                    const check::CheckResult& result)>;

  CheckRefresh(const QString& dir, const check::CheckLimits& limits, CheckPlayerFactory players,
               QStringList files);

  // Holds the verdict back when a refresh may mend it; true when it did.
  bool holdBack(int index, const playlists::Station& station, const check::CheckResult& result);
  // Refreshes what was held back and reports each held station's final
  // verdict, with its fresh address when its page gave one; each refresh
  // goes into the history.
  void run(const Report& report, history::VerdictBatch& verdicts, Console& console);

 private:
  struct Held {
    int index;
    playlists::Station station;
    check::CheckResult result;
    QString fresh;
  };

  void refreshAll();
  void writeBack(const Held& held, Console& console) const;
  QList<check::CheckResult> checkAgain(const playlists::StationList& stations) const;

  QString m_dir;
  check::CheckLimits m_limits;
  CheckPlayerFactory m_players;
  QStringList m_files;
  QList<Held> m_held;
};

}  // namespace cli
