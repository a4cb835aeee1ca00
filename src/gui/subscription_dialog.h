#pragma once

#include <QDialog>

#include "engines/subscription_update.h"

class Form;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// The subscription update from the window: each source's result shows as it
// comes, the update can be stopped, and the lists are loaded again at its
// end when it added stations, as an import does.
class SubscriptionDialog : public QDialog {
  Q_OBJECT
 public:
  SubscriptionDialog(Form& form, QWidget* parent);

  // Starts the update; false, with the reason told, when the subscription
  // list cannot be read.
  bool start();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void sourceDone(const SourceReport& report);
  void finished(const QString& error);

  Form& m_form;
  SubscriptionUpdate m_update;
  QPlainTextEdit* m_log;
  QProgressBar* m_progress;
  QLabel* m_summary;
  QPushButton* m_stop;
  int m_added = 0;
  bool m_stopped = false;
};
