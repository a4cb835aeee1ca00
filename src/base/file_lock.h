#pragma once

#include <QString>

namespace textfile {

// The lock beside a file ("name.lock") that a process holds while it reads
// and rewrites the file or appends to it, so that two processes of the
// program on one folder never write over each other's lines. Held for one
// write, never for a run. The lock is the kernel's (flock) on the lock
// file: it ends with its process, so a crash never leaves a lock that stops
// the others, and taking it costs no write to the disk. Locks of one file
// nest within a thread: the outermost one holds the lock file.
class FileLock {
 public:
  explicit FileLock(const QString& path, int waitMs = kWaitMs);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // True when the lock is held; otherwise error() says why.
  explicit operator bool() const { return m_error.isEmpty(); }
  const QString& error() const { return m_error; }

  static constexpr int kWaitMs = 15000;

 private:
  // One try: true when this process now holds the lock file.
  bool tryOnce();

  QString m_lockPath;
  int m_fd = -1;  // the outermost lock's open lock file
  QString m_error;
};

}  // namespace textfile
