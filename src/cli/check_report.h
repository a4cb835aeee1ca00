#pragma once

#include <QElapsedTimer>
#include <QString>

#include "playlists/station.h"
#include "check/station_checker.h"

namespace cli {

class Console;

// One station's line for the terminal: index, verdict, time to first play,
// media info, name and address.
QString resultLine(int index, const playlists::Station& station, const check::CheckResult& result);
// The same as one JSON object on one line.
QString resultJson(int index, const playlists::Station& station, const check::CheckResult& result);

// The progress bar of a check, on standard error: redrawn in place (at most
// ten times a second) on a terminal, a plain line every tenth otherwise.
class CheckProgress {
 public:
  CheckProgress(Console& console, int total);
  void update(int done, int playing);
  void end();

 private:
  Console& m_console;
  int m_total;
  int m_lastTenth = -1;
  QElapsedTimer m_sinceDraw;
};

}  // namespace cli
