#include "base/file_lock.h"

#include <QFileInfo>
#include <QHash>
#include <QLockFile>

namespace textfile {

namespace {

// How many locks of each lock file this thread holds.
thread_local QHash<QString, int> t_held;

QString reasonOf(QLockFile::LockError error, const QString& lockPath) {
  switch (error) {
    case QLockFile::LockFailedError:
      return QStringLiteral("another process holds %1").arg(lockPath);
    case QLockFile::PermissionError:
      return QStringLiteral("cannot create %1").arg(lockPath);
    case QLockFile::NoError:
    case QLockFile::UnknownError: break;
  }
  return QStringLiteral("cannot lock %1").arg(lockPath);
}

}  // namespace

FileLock::FileLock(const QString& path, int waitMs)
    : m_lockPath(QFileInfo(path).absoluteFilePath() + QStringLiteral(".lock")) {
  int& depth = t_held[m_lockPath];
  if (depth > 0) {
    ++depth;
    return;
  }
  m_lock = std::make_unique<QLockFile>(m_lockPath);
  m_lock->setStaleLockTime(kStaleMs);
  if (m_lock->tryLock(waitMs)) {
    ++depth;
    return;
  }
  m_error = reasonOf(m_lock->error(), m_lockPath);
  m_lock.reset();
  t_held.remove(m_lockPath);
}

FileLock::~FileLock() {
  if (!m_error.isEmpty()) return;
  if (--t_held[m_lockPath] == 0) t_held.remove(m_lockPath);
}

}  // namespace textfile
