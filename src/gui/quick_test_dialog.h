#pragma once

#include <QDialog>
#include <memory>

#include "check/station_checker.h"
#include "library/station_appender.h"
#include "playlists/station.h"

class Form;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

// The quick test of the listed stations from the window: the command line's
// checker runs on them, each station's verdict and reason shows as it comes,
// the test can be stopped, and the stations that play are kept in the
// found-stations file at once, one line per request, each appended.
class QuickTestDialog : public QDialog {
  Q_OBJECT
 public:
  QuickTestDialog(Form& form, const playlists::StationList& stations, QWidget* parent,
                  const check::CheckLimits& limits = {});
  ~QuickTestDialog() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void checked(int index, const check::CheckResult& result);
  void stop(const QString& why);
  void showCount();
  void keep(const playlists::Station& s);

  Form& m_form;
  playlists::StationList m_stations;
  QTableWidget* m_table;
  QProgressBar* m_progress;
  QLabel* m_summary;
  QPushButton* m_stop;
  std::unique_ptr<check::StationChecker> m_checker;
  library::StationAppender m_found;
  bool m_canKeep = false;
  int m_playing = 0;
  int m_done = 0;
  int m_kept = 0;
  bool m_running = true;
};
