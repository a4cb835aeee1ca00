#include "base/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QThread>
#include <cerrno>
#include <cstring>

namespace textfile {

namespace {

// How many locks of each lock file this thread holds.
thread_local QHash<QString, int> t_held;

constexpr int kRetryMs = 2;

bool sameFile(int fd, const QByteArray& path) {
  struct stat open{}, named{};
  return fstat(fd, &open) == 0 && stat(path.constData(), &named) == 0 &&
         open.st_ino == named.st_ino && open.st_dev == named.st_dev;
}

}  // namespace

FileLock::FileLock(const QString& path, int waitMs)
    : m_lockPath(QFileInfo(path).absoluteFilePath() + QStringLiteral(".lock")) {
  if (int& depth = t_held[m_lockPath]; depth > 0) {
    ++depth;
    return;
  }
  const QDeadlineTimer deadline(waitMs);
  while (!tryOnce()) {
    if (m_error.isEmpty() && deadline.hasExpired())
      m_error = QStringLiteral("another process holds %1").arg(m_lockPath);
    if (!m_error.isEmpty()) {
      t_held.remove(m_lockPath);
      return;
    }
    QThread::msleep(kRetryMs);
  }
  t_held[m_lockPath] = 1;
}

bool FileLock::tryOnce() {
  const QByteArray name = QFile::encodeName(m_lockPath);
  const int fd = open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) {
    m_error = QStringLiteral("cannot create %1: %2").arg(m_lockPath, QString::fromLocal8Bit(strerror(errno)));
    return false;
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    close(fd);
    if (error != EWOULDBLOCK && error != EINTR)
      m_error = QStringLiteral("cannot lock %1: %2").arg(m_lockPath, QString::fromLocal8Bit(strerror(error)));
    return false;
  }
  // The holder we waited for removes the lock file as it lets go: a lock
  // on the removed file guards nothing, so the name must still lead to it.
  if (!sameFile(fd, name)) {
    close(fd);
    return false;
  }
  m_fd = fd;
  return true;
}

FileLock::~FileLock() {
  if (!m_error.isEmpty()) return;
  if (--t_held[m_lockPath] > 0) return;
  t_held.remove(m_lockPath);
  // Removed while still held, so nobody locks the name meanwhile.
  unlink(QFile::encodeName(m_lockPath).constData());
  close(m_fd);
}

}  // namespace textfile
