#include "library/line_appender.h"

#include <sys/stat.h>

#include "base/file_lock.h"
#include "base/text_lines.h"
#include "playlists/station_file.h"

namespace library {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

}  // namespace

LineAppender::LineAppender(QString path) : m_path(std::move(path)), m_file(m_path) {}

textfile::WriteResult LineAppender::failed() const {
  return {m_file.errorString().isEmpty() ? QStringLiteral("unknown error") : m_file.errorString()};
}

textfile::WriteResult LineAppender::open() {
  const textfile::FileLock lock(m_path);
  if (!lock) return {lock.error()};
  return reopen();
}

textfile::WriteResult LineAppender::reopen() {
  m_file.close();
  m_keys.clear();
  m_size = 0;
  if (!m_file.open(QIODevice::ReadWrite | QIODevice::Append)) return failed();
  // Append mode starts at the end; the lines already there are read first.
  m_file.seek(0);
  const QByteArray bytes = m_file.readAll();
  m_encoding = bytes.isEmpty() ? textfile::Encoding::Gbk : textfile::detectEncoding(bytes);
  return takeIn(bytes, 0);
}

textfile::WriteResult LineAppender::takeIn(const QByteArray& bytes, qint64 offset) {
  textfile::forEachLine(textfile::decodeAs(bytes, m_encoding), [this](int, QStringView line) {
    m_keys.add(playlists::stationLineKey(line));
  });
  // Keep a hand-edited last line whole instead of gluing the next onto it,
  // and drop trailing empty lines: the window's loader stops at the first.
  const textfile::LastLineEnd end = textfile::closeLastLine(bytes);
  m_size = offset + bytes.size();
  if (bytes.sliced(end.keep) == end.bytes) return {};
  if (!m_file.resize(offset + end.keep)) return failed();
  if (m_file.write(end.bytes) != end.bytes.size() || !m_file.flush()) return failed();
  m_size = offset + end.keep + end.bytes.size();
  return {};
}

bool LineAppender::replaced() const {
  struct stat open{}, named{};
  if (fstat(m_file.handle(), &open) != 0) return true;
  if (stat(QFile::encodeName(m_path).constData(), &named) != 0) return true;
  return open.st_ino != named.st_ino || open.st_dev != named.st_dev;
}

textfile::WriteResult LineAppender::catchUp() {
  if (!m_file.isOpen() || replaced()) return reopen();
  const qint64 size = m_file.size();
  if (size == m_size) return {};
  if (size < m_size) return reopen();
  if (!m_file.seek(m_size)) return failed();
  return takeIn(m_file.read(size - m_size), m_size);
}

bool LineAppender::holds(const QString& line) const {
  return m_keys.contains(playlists::stationLineKey(line));
}

textfile::WriteResult LineAppender::append(const QString& line) {
  if (line.isEmpty()) return {};
  const textfile::FileLock lock(m_path);
  if (!lock) return {lock.error()};
  if (auto caughtUp = catchUp(); !caughtUp) return caughtUp;
  if (!m_keys.add(playlists::stationLineKey(line))) return {};
  const QByteArray bytes = textfile::encodeAs(line + kLineEnd, m_encoding);
  if (m_file.write(bytes) != bytes.size() || !m_file.flush()) return failed();
  m_size += bytes.size();
  return {};
}

}  // namespace library
