#include "file_write_log.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <QFile>

FileWriteLog::FileWriteLog(const QString& folder) {
  m_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  // A replacing save ends in a rename (moved to) or a link (create) of the
  // final name; a plain write creates or rewrites the file in place.
  if (m_fd >= 0)
    inotify_add_watch(m_fd, QFile::encodeName(folder).constData(),
                      IN_CREATE | IN_MOVED_TO | IN_CLOSE_WRITE);
}

FileWriteLog::~FileWriteLog() {
  if (m_fd >= 0) close(m_fd);
}

QStringList FileWriteLog::take(const QStringList& names) {
  QStringList written;
  alignas(inotify_event) char buffer[64 * 1024];
  for (;;) {
    const ssize_t n = m_fd >= 0 ? read(m_fd, buffer, sizeof buffer) : -1;
    if (n <= 0) break;
    for (ssize_t at = 0; at < n;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      if (event->len == 0) continue;
      const QString name = QFile::decodeName(event->name);
      if (!names.isEmpty() && !names.contains(name)) continue;
      // One save may raise both a create and a close; count it once.
      if (!written.isEmpty() && written.back() == name) continue;
      written << name;
    }
  }
  return written;
}
