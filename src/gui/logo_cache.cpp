#include "gui/logo_cache.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QImageReader>

#include "base/text_file.h"
#include "base/user_agent.h"
#include "engines/source_fetch.h"

namespace {

// Fetches at once; the rest wait their turn.
constexpr int kMaxFetching = 4;
constexpr int kFetchTimeoutMs = 15'000;
// A picture larger than this is no logo, whatever it would scale to.
constexpr int kMaxSourcePixels = 4096;

bool isWebAddress(const QString& address) {
  return address.startsWith(u"http://", Qt::CaseInsensitive) ||
         address.startsWith(u"https://", Qt::CaseInsensitive);
}

// The logo in bytes as kept: a PNG of at most kPixels a side, or nothing
// when the bytes are no picture.
QByteArray keptForm(const QByteArray& bytes) {
  QBuffer source;
  source.setData(bytes);
  QImageReader reader(&source);
  const QSize size = reader.size();
  if (!size.isValid() || size.width() > kMaxSourcePixels || size.height() > kMaxSourcePixels)
    return {};
  reader.setScaledSize(size.scaled(LogoCache::kPixels, LogoCache::kPixels, Qt::KeepAspectRatio));
  const QImage image = reader.read();
  if (image.isNull()) return {};
  QByteArray png;
  QBuffer target(&png);
  target.open(QIODevice::WriteOnly);
  image.save(&target, "PNG");
  return png;
}

}  // namespace

LogoCache::LogoCache(const QString& programDir, QObject* parent)
    : QObject(parent),
      m_dir(QDir(programDir).filePath(kFolder)),
      m_userAgent(useragent::fromSettings(programDir)) {}

QString LogoCache::fileOf(const QString& address) const {
  const QByteArray hash = QCryptographicHash::hash(address.toUtf8(), QCryptographicHash::Sha1);
  return m_dir.filePath(QString::fromLatin1(hash.toHex()) + QStringLiteral(".png"));
}

QIcon LogoCache::icon(const QString& address) {
  if (const auto known = m_icons.constFind(address); known != m_icons.cend()) return *known;
  if (address.isEmpty() || m_asked.contains(address)) return {};
  m_asked.insert(address);
  if (const QPixmap kept(fileOf(address)); !kept.isNull()) return m_icons[address] = QIcon(kept);
  if (!isWebAddress(address)) return {};
  m_waiting << address;
  startWaiting();
  return {};
}

void LogoCache::startWaiting() {
  while (m_fetching < kMaxFetching && !m_waiting.isEmpty()) {
    const QString address = m_waiting.takeFirst();
    auto* fetch = new SourceFetch(this);
    connect(fetch, &SourceFetch::finished, this, [this, fetch, address](const SourceAnswer& a) {
      fetch->deleteLater();
      --m_fetching;
      fetched(address, a);
      startWaiting();
    });
    ++m_fetching;
    SourceFetch::Limits limits;
    limits.maxBytes = kMaxBytes;
    limits.timeoutMs = kFetchTimeoutMs;
    fetch->start(address, {}, {}, m_userAgent, limits);
  }
}

void LogoCache::fetched(const QString& address, const SourceAnswer& answer) {
  if (answer.kind != SourceAnswer::Kind::Fetched) return;
  const QByteArray png = keptForm(answer.body);
  if (png.isEmpty() || !m_dir.mkpath(QStringLiteral("."))) return;
  if (!textfile::writeBytes(fileOf(address), png)) return;
  QPixmap logo;
  logo.loadFromData(png, "PNG");
  m_icons.insert(address, QIcon(logo));
  Q_EMIT arrived(address);
}
