#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "base/file_lock.h"
#include "base/text_file.h"

namespace {

// The text QLockFile writes for this process, with another process id.
QByteArray lockTextOf(const QString& path, qint64 pid) {
  QLockFile own(path);
  own.lock();
  QFile f(path);
  f.open(QIODevice::ReadOnly);
  const QByteArray self = QByteArray::number(QCoreApplication::applicationPid());
  return QByteArray::number(pid) + f.readAll().mid(self.size());
}

}  // namespace

// A lock that another process left behind must not stop writes for good;
// a lock a live process holds now is respected.
TEST(FileLockTest, TakesOverOnlyLocksNobodyHolds) {
  QTemporaryDir dir;
  const QString file = dir.filePath("tv_lib_ss_jg.txt");
  const QString lock = file + ".lock";
  QProcess ended;
  ended.start(QStringLiteral("sleep"), {QStringLiteral("60")});
  ASSERT_TRUE(ended.waitForStarted());
  const qint64 endedPid = ended.processId();
  ended.kill();
  ASSERT_TRUE(ended.waitForFinished());
  const qint64 self = QCoreApplication::applicationPid();
  const struct {
    const char* what;
    qint64 pid;
    qint64 ageMs;
    bool taken;
  } cases[] = {
      {"left by a process that ended", endedPid, 0, true},
      {"held too long by a live process", self, textfile::FileLock::kStaleMs + 5000, true},
      {"held now by a live process", self, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const QByteArray text = lockTextOf(lock, c.pid);
    QFile f(lock);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
    f.flush();
    f.setFileTime(QDateTime::currentDateTime().addMSecs(-c.ageMs),
                  QFileDevice::FileModificationTime);
    f.close();
    {
      const textfile::FileLock held(file, 0);
      EXPECT_EQ(bool(held), c.taken);
      EXPECT_EQ(held.error().contains(lock), !c.taken);
    }
    EXPECT_EQ(QFile::exists(lock), !c.taken);
    QFile::remove(lock);
  }
}

// A write inside a longer read-modify-write of the same file takes the
// lock its caller holds; the lock file goes with the outermost lock.
TEST(FileLockTest, LocksOfOneFileNestWithinAThread) {
  QTemporaryDir dir;
  const QString file = dir.filePath("list.txt");
  {
    const textfile::FileLock outer(file, 0);
    ASSERT_TRUE(outer);
    ASSERT_TRUE(textfile::write(file, "a,http://a/,\r\n"));
    ASSERT_TRUE(textfile::append(file, "b,http://b/,\r\n"));
    EXPECT_TRUE(QFile::exists(file + ".lock"));
  }
  EXPECT_FALSE(QFile::exists(file + ".lock"));
  EXPECT_EQ(textfile::readLines(file), QStringList({"a,http://a/,", "b,http://b/,"}));
}
