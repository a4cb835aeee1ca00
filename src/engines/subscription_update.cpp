#include "engines/subscription_update.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include "base/text_file.h"
#include "library/source_lines.h"
#include "playlists/playlist_import.h"
#include "playlists/station_files.h"

namespace {

QString cachePath(const QString& dir, const QString& address) {
  const QByteArray hash = QCryptographicHash::hash(address.toUtf8(), QCryptographicHash::Sha1);
  return QDir(dir).filePath(kSubscriptionCache + u'/' + QString::fromLatin1(hash.toHex()) +
                            QStringLiteral(".list"));
}

QByteArray readCache(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

SubscriptionUpdate::SubscriptionUpdate(QString dir, QByteArray userAgent, QObject* parent)
    : QObject(parent), m_dir(std::move(dir)), m_userAgent(std::move(userAgent)) {}

SubscriptionUpdate::~SubscriptionUpdate() = default;

QString SubscriptionUpdate::start() {
  const QString listPath = QDir(m_dir).filePath(library::kSubscriptionFile);
  const auto text = textfile::read(listPath);
  if (!text) return QStringLiteral("无法读取 %1 / cannot read %1").arg(listPath);
  m_list = library::parseSubscriptions(*text);
  for (const QString& problem : m_list.problems)
    m_notes << library::kSubscriptionFile + QStringLiteral(": ") + problem;
  QDir(m_dir).mkpath(kSubscriptionCache);
  if (const history::Result opened = m_db.open(m_dir); !opened.message.isEmpty())
    m_notes << opened.message;
  m_running = true;
  QMetaObject::invokeMethod(this, &SubscriptionUpdate::fetchNext, Qt::QueuedConnection);
  return {};
}

void SubscriptionUpdate::stop() {
  if (!m_running) return;
  m_fetch.reset();
  finish({});
}

void SubscriptionUpdate::fetchNext() {
  if (!m_running) return;
  if (m_next >= m_list.sources.size()) return finish({});
  const library::Subscription& source = m_list.sources.at(m_next);
  Q_EMIT sourceStarted(static_cast<int>(m_next), source.name);
  // Its handler may have stopped the update.
  if (!m_running) return;
  m_state = m_db.source(source.address).value_or(history::SourceState{});
  const bool cached = QFile::exists(cachePath(m_dir, source.address));
  m_fetch = std::make_unique<SourceFetch>();
  connect(m_fetch.get(), &SourceFetch::finished, this, &SubscriptionUpdate::onAnswer);
  m_fetch->start(source.address, cached ? m_state.etag : QString(),
                 cached ? m_state.lastModified : QString(), m_userAgent, m_limits);
}

void SubscriptionUpdate::onAnswer(const SourceAnswer& answer) {
  m_fetch.release()->deleteLater();
  const library::Subscription& source = m_list.sources.at(m_next++);
  SourceReport report{source.name, {}, 0, 0, 0};
  const playlists::StationList lines = take(answer, report);
  const playlists::ImportOutcome added =
      playlists::addStations(QDir(m_dir).filePath(library::kLibraryFile), lines);
  if (!added.writeError.isEmpty()) return finish(added.writeError);
  report.added = added.added;
  report.duplicates = added.alreadyThere;
  (source.trusted ? m_trusted : m_others) += lines;
  m_reports.append(report);
  Q_EMIT sourceDone(report);
  fetchNext();
}

playlists::StationList SubscriptionUpdate::take(const SourceAnswer& answer, SourceReport& report) {
  const library::Subscription& source = m_list.sources.at(m_next - 1);
  history::SourceState& state = m_state;
  state.address = source.address;
  state.fetched = QDateTime::currentDateTimeUtc();
  const QString cache = cachePath(m_dir, source.address);
  const bool fetched = answer.kind == SourceAnswer::Kind::Fetched;
  library::SourceLines read;
  if (answer.kind != SourceAnswer::Kind::Failed)
    read = library::readSourceLines(fetched ? answer.body : readCache(cache), source.address, m_list);
  const QString reason = answer.kind == SourceAnswer::Kind::Failed ? answer.reason : read.reason;
  if (!reason.isEmpty()) {
    report.state = QStringLiteral("failed (%1)").arg(reason);
    state.result = QStringLiteral("failed");
  } else {
    report.state = fetched ? QStringLiteral("fetched") : QStringLiteral("not modified");
    state.result = fetched ? QStringLiteral("ok") : QStringLiteral("unchanged");
    if (fetched) {
      state.etag = answer.etag;
      state.lastModified = answer.lastModified;
      (void)textfile::writeBytes(cache, answer.body);
    }
  }
  state.reason = reason;
  state.linesRead = report.linesRead = static_cast<int>(read.stations.size());
  (void)m_db.putSource(state);
  return read.stations;
}

void SubscriptionUpdate::finish(const QString& error) {
  m_running = false;
  m_db.close();
  Q_EMIT finished(error);
}

