#include "gui/quick_test_dialog.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "check/check_history.h"
#include "engines/mpv_check_player.h"
#include "form/form.h"
#include "playlists/station_files.h"
#include "library/station_list.h"

namespace {

enum Column { Name, Verdict, Reason, Address, ColumnCount };

QTableWidget* verdictTable(const playlists::StationList& stations, QWidget* parent) {
  auto* table = new QTableWidget(static_cast<int>(stations.size()), ColumnCount, parent);
  table->setObjectName(QStringLiteral("quickTestVerdicts"));
  table->setHorizontalHeaderLabels(
      {QStringLiteral("电台"), QStringLiteral("结果"), QStringLiteral("原因"), QStringLiteral("网址")});
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->verticalHeader()->hide();
  table->horizontalHeader()->setStretchLastSection(true);
  for (int row = 0; row < stations.size(); ++row) {
    table->setItem(row, Name, new QTableWidgetItem(stations.at(row).name));
    table->setItem(row, Verdict, new QTableWidgetItem(QStringLiteral("等待")));
    table->setItem(row, Reason, new QTableWidgetItem);
    table->setItem(row, Address, new QTableWidgetItem(stations.at(row).address));
  }
  // Fixed widths: measuring the contents of a long list would take long.
  table->setColumnWidth(Name, 160);
  table->setColumnWidth(Verdict, 70);
  table->setColumnWidth(Reason, 220);
  return table;
}

}  // namespace

QuickTestDialog::QuickTestDialog(Form& form, const playlists::StationList& stations,
                                 QWidget* parent, const check::CheckLimits& limits)
    : QDialog(parent),
      m_form(form),
      m_stations(stations),
      m_table(verdictTable(stations, this)),
      m_progress(new QProgressBar(this)),
      m_summary(new QLabel(this)),
      m_stop(new QPushButton(QStringLiteral("停止"), this)),
      m_found(form.path(library::kFoundFile)) {
  setWindowTitle(QStringLiteral("快速测试全部"));
  resize(760, 480);
  m_summary->setObjectName(QStringLiteral("quickTestSummary"));
  // The summary ends with what the engine said when it failed.
  m_summary->setTextFormat(Qt::PlainText);
  m_stop->setObjectName(QStringLiteral("quickTestStop"));
  m_progress->setRange(0, static_cast<int>(stations.size()));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->addButton(m_stop, QDialogButtonBox::ActionRole);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  connect(m_stop, &QPushButton::clicked, this, [this] { stop(QStringLiteral("已停止")); });
  auto* column = new QVBoxLayout(this);
  column->addWidget(m_table, 1);
  column->addWidget(m_progress);
  column->addWidget(m_summary);
  column->addWidget(buttons);

  m_checker = std::make_unique<check::StationChecker>(stations, limits, MpvCheckPlayer::factory(limits.minPlayMs, limits.userAgent));
  connect(m_checker.get(), &check::StationChecker::stationChecked, this, &QuickTestDialog::checked);
  connect(m_checker.get(), &check::StationChecker::finished, this,
          [this] { stop(QStringLiteral("测试完毕")); });
  connect(m_checker.get(), &check::StationChecker::engineFailed, this,
          [this](const QString& message) { stop(QStringLiteral("无法测试：%1").arg(message)); });
  showCount();
  // Read once here, so that a pass costs one appended line.
  m_canKeep = m_form.writes.check(m_found.path(), m_found.open());
  if (stations.isEmpty()) {
    stop(QStringLiteral("列表中没有电台"));
    return;
  }
  m_checker->start();
}

QuickTestDialog::~QuickTestDialog() { m_checker->stop(); }

void QuickTestDialog::checked(int index, const check::CheckResult& result) {
  ++m_done;
  (void)m_form.healthHistory().record(check::lineVerdictOf(
      m_stations.at(index), result, QDateTime::currentDateTimeUtc(), history::source::kQuickTest));
  const bool plays = result.playing();
  m_table->item(index, Verdict)->setText(plays ? QStringLiteral("可以播放") : QStringLiteral("失败"));
  m_table->item(index, Verdict)->setForeground(plays ? Qt::darkGreen : Qt::darkRed);
  m_table->item(index, Reason)->setText(plays ? QString() : check::outcomeText(result.outcome));
  m_table->scrollToItem(m_table->item(index, Name));
  if (plays) {
    ++m_playing;
    keep(m_stations.at(index));
  }
  showCount();
}

void QuickTestDialog::keep(const playlists::Station& s) {
  // Kept at once, so that a stopped test keeps what it found; a failed write
  // is told by the Form.
  const QString line = library::stationLine(s.name, s.address);
  if (!m_canKeep || line.isEmpty() || m_found.holds(line)) return;
  if (m_form.writes.check(m_found.path(), m_found.append(line))) ++m_kept;
}

void QuickTestDialog::showCount() {
  m_progress->setValue(m_done);
  m_summary->setText(QStringLiteral("已测试 %1 / %2 个，可以播放 %3 个")
                         .arg(m_done)
                         .arg(m_stations.size())
                         .arg(m_playing));
}

void QuickTestDialog::stop(const QString& why) {
  if (!m_running) return;
  m_running = false;
  m_checker->stop();
  m_stop->setEnabled(false);
  m_summary->setText(m_summary->text() + QStringLiteral("。") + why);
  // The kept stations show in the lists.
  if (m_kept > 0) library::ReloadStationListsWhenIdle(m_form);
}

void QuickTestDialog::closeEvent(QCloseEvent* event) {
  stop(QStringLiteral("已停止"));
  QDialog::closeEvent(event);
}
