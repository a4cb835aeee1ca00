#pragma once

#include <QObject>
#include <QStringList>
#include <optional>

#include "form/play_outcome.h"

class Form;

namespace cli {

class Console;

// Follows a station scan of the window through its controls and engines and
// prints one line per candidate once the scan has left it: its index in the
// lists, name, address and what the players made of it.
// A QObject only to own its connections: they end with it.
class ScanReport : public QObject {
 public:
  ScanReport(Form& f, Console& console);
  // Connect before the window's handlers: an engine's report must be
  // credited to the candidate it belongs to, before the scan moves on.
  void observeEngines();
  // Connect any time: the run log shows each candidate as it starts.
  void observeLog();
  // The scan is over: the last candidate's line and the summary.
  void finish();

  int tested() const { return m_tested; }
  int playing() const { return m_playing; }

 private:
  void onLogged(const QString& text);
  void settleCurrent();
  void failed(std::optional<check::Outcome> verdict);

  Form& m_f;
  Console& m_console;
  QStringList m_names;
  QStringList m_addresses;
  int m_current = -1;
  std::optional<check::Outcome> m_verdict;
  bool m_over = false;
  int m_tested = 0;
  int m_playing = 0;
};

}  // namespace cli
