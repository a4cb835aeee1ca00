#include "gui/station_tools.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <memory>

#include "form/form.h"
#include "base/user_agent.h"
#include "gui/quick_test_dialog.h"
#include "gui/subscription_dialog.h"
#include "library/found_export.h"
#include "library/listed_stations.h"
#include "library/station_list.h"
#include "playlists/playlist_import.h"

namespace {

const QString kPlaylistFilter = QStringLiteral(
    "播放列表和电台文件 (*.m3u *.m3u8 *.pls *.asx *.txt);;所有文件 (*)");

}  // namespace

StationTools::StationTools(Form& form, QWidget* window)
    : QObject(window), m_form(form), m_window(window) {}

QStringList StationTools::localFiles(const QMimeData* data) {
  QStringList files;
  if (!data) return files;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) files << url.toLocalFile();
  return files;
}

void StationTools::importFiles(const QStringList& files) {
  if (files.isEmpty()) return;
  const playlists::ImportOutcome outcome = playlists::importPlaylists(m_form.programDir, files);
  if (!outcome.writeError.isEmpty()) {
    m_form.host.messageBox(QStringLiteral("无法导入：%1").arg(outcome.writeError),
                           QStringLiteral("导入播放列表"), MessageIcon::Stop);
    return;
  }
  if (outcome.added > 0 || outcome.headersAdded > 0) library::ReloadStationListsWhenIdle(m_form);
  QString text = QStringLiteral("导入 %1 个电台，%2 个已在列表中")
                     .arg(outcome.added)
                     .arg(outcome.alreadyThere);
  if (outcome.headersAdded > 0)
    text += QStringLiteral("，%1 个已有电台补上请求头").arg(outcome.headersAdded);
  if (!outcome.skipped.isEmpty())
    text += QStringLiteral("，%1 项无法识别").arg(outcome.skipped.size());
  m_form.host.messageBox(text + QStringLiteral("。"), QStringLiteral("导入播放列表"),
                         MessageIcon::Information);
}

void StationTools::chooseAndImport() {
  importFiles(QFileDialog::getOpenFileNames(m_window, QStringLiteral("导入播放列表"), QString(),
                                            kPlaylistFilter));
}

void StationTools::exportM3u8() {
  const QString file = QFileDialog::getSaveFileName(
      m_window, QStringLiteral("导出为 M3U8"), m_form.path(QStringLiteral("nettv.m3u8")),
      QStringLiteral("M3U8 播放列表 (*.m3u8)"));
  if (file.isEmpty()) return;
  const library::FoundExport done = library::exportFoundStations(m_form.programDir, file);
  QString text;
  MessageIcon icon = MessageIcon::Stop;
  switch (done.result) {
    case library::FoundExport::Result::ProgramFile:
      text = QStringLiteral("%1 是程序自己的文件，不能用作导出目标。").arg(file);
      break;
    case library::FoundExport::Result::CannotRead:
      text = QStringLiteral("无法读取 %1。").arg(done.source);
      break;
    case library::FoundExport::Result::CannotWrite:
      text = QStringLiteral("无法写入 %1：%2").arg(file, done.error);
      break;
    case library::FoundExport::Result::Written:
      text = QStringLiteral("导出 %1 个电台到 %2，跳过 %3 项。")
                 .arg(done.stations)
                 .arg(file)
                 .arg(done.skipped.size());
      icon = MessageIcon::Information;
      break;
  }
  m_form.host.messageBox(text, QStringLiteral("导出为 M3U8"), icon);
}

void StationTools::quickTest() {
  check::CheckLimits limits;
  limits.userAgent = useragent::fromSettings(m_form.programDir);
  auto* dialog = new QuickTestDialog(m_form, library::listedStations(m_form), m_window, limits);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->show();
}

void StationTools::updateSubscriptions() {
  auto dialog = std::make_unique<SubscriptionDialog>(m_form, m_window);
  if (!dialog->start()) return;
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog.release()->show();
}

void StationTools::addMenu(QLineEdit* box) {
  box->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(box, &QLineEdit::customContextMenuRequested, this, [this, box](const QPoint& at) {
    QMenu* menu = box->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    // The tools run dialogs and reload the lists, which runs the event loop:
    // the menu, closed and deleted on the way, must have finished with its
    // click before they start.
    const auto add = [this, menu](const QString& text, void (StationTools::*tool)()) {
      connect(menu->addAction(text), &QAction::triggered, this, tool, Qt::QueuedConnection);
    };
    add(QStringLiteral("导入播放列表…"), &StationTools::chooseAndImport);
    add(QStringLiteral("导出为 M3U8…"), &StationTools::exportM3u8);
    add(QStringLiteral("快速测试全部"), &StationTools::quickTest);
    add(QStringLiteral("更新订阅"), &StationTools::updateSubscriptions);
    menu->popup(box->mapToGlobal(at));
  });
}
