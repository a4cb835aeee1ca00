#include "gui/subscription_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/user_agent.h"
#include "form/form.h"
#include "library/station_list.h"

SubscriptionDialog::SubscriptionDialog(Form& form, QWidget* parent)
    : QDialog(parent),
      m_form(form),
      m_update(form.programDir, useragent::fromSettings(form.programDir)),
      m_log(new QPlainTextEdit(this)),
      m_progress(new QProgressBar(this)),
      m_summary(new QLabel(this)),
      m_stop(new QPushButton(QStringLiteral("停止"), this)) {
  setWindowTitle(QStringLiteral("更新订阅"));
  resize(640, 400);
  m_log->setObjectName(QStringLiteral("subscriptionLog"));
  m_log->setReadOnly(true);
  m_summary->setObjectName(QStringLiteral("subscriptionSummary"));
  // Source names come from a file anyone may have written.
  m_summary->setTextFormat(Qt::PlainText);
  m_stop->setObjectName(QStringLiteral("subscriptionStop"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->addButton(m_stop, QDialogButtonBox::ActionRole);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  connect(m_stop, &QPushButton::clicked, this, [this] {
    m_stopped = true;
    m_update.stop();
  });
  auto* column = new QVBoxLayout(this);
  column->addWidget(m_log, 1);
  column->addWidget(m_progress);
  column->addWidget(m_summary);
  column->addWidget(buttons);

  connect(&m_update, &SubscriptionUpdate::sourceStarted, this, [this](int index, const QString& name) {
    m_summary->setText(QStringLiteral("正在获取 %1 / %2：%3")
                           .arg(index + 1)
                           .arg(m_update.sourceCount())
                           .arg(name));
  });
  connect(&m_update, &SubscriptionUpdate::sourceDone, this, &SubscriptionDialog::sourceDone);
  connect(&m_update, &SubscriptionUpdate::finished, this, &SubscriptionDialog::finished);
}

bool SubscriptionDialog::start() {
  if (const QString error = m_update.start(); !error.isEmpty()) {
    m_form.host.messageBox(error, windowTitle(), MessageIcon::Stop);
    return false;
  }
  for (const QString& note : m_update.notes()) m_log->appendPlainText(note);
  m_progress->setRange(0, static_cast<int>(m_update.sourceCount()));
  m_progress->setValue(0);
  return true;
}

void SubscriptionDialog::sourceDone(const SourceReport& report) {
  m_added += report.added;
  m_progress->setValue(m_progress->value() + 1);
  m_log->appendPlainText(QStringLiteral("%1：%2，读到 %3 个，新增 %4 个，已有 %5 个")
                             .arg(report.name, report.state)
                             .arg(report.linesRead)
                             .arg(report.added)
                             .arg(report.duplicates));
}

void SubscriptionDialog::finished(const QString& error) {
  m_stop->setEnabled(false);
  QString text = QStringLiteral("已获取 %1 / %2 个订阅源，新增 %3 个电台")
                     .arg(m_update.reports().size())
                     .arg(m_update.sourceCount())
                     .arg(m_added);
  if (m_stopped) text += QStringLiteral("。已停止");
  if (!error.isEmpty()) text += QStringLiteral("。无法写入电台库：%1").arg(error);
  m_summary->setText(text);
  if (m_added > 0) library::ReloadStationListsWhenIdle(m_form);
}

void SubscriptionDialog::closeEvent(QCloseEvent* event) {
  m_stopped = true;
  m_update.stop();
  QDialog::closeEvent(event);
}
