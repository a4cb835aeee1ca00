#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "base/file_lock.h"
#include "base/text_file.h"

// Another process's lock is waited for while it lasts; a lock whose process
// has ended never stops a write.
TEST(FileLockTest, WaitsForAnotherProcessOnlyWhileItHoldsTheLock) {
  QTemporaryDir dir;
  const QString file = dir.filePath("tv_lib_ss_jg.txt");
  const QString lock = file + ".lock";
  const struct {
    const char* what;
    const char* holder;  // what the other process does once it holds the lock
    bool killed;         // it is killed before the lock is asked for
    int waitMs;
    bool taken;
  } cases[] = {
      {"held now by a live process", "sleep 60", false, 0, false},
      {"left by a process that was killed", "sleep 60", true, 0, true},
      {"let go of while waiting", "sleep 0.3", false, 10000, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QProcess holder;
    // One process that holds the lock until it ends.
    holder.start("sh", {"-c", QStringLiteral("exec 9>>\"$0\"; flock 9; echo held; exec %1").arg(c.holder),
                        lock});
    ASSERT_TRUE(holder.waitForReadyRead(5000));
    if (c.killed) {
      holder.kill();
      ASSERT_TRUE(holder.waitForFinished());
    }
    {
      const textfile::FileLock held(file, c.waitMs);
      EXPECT_EQ(bool(held), c.taken);
      EXPECT_EQ(held.error().contains(lock), !c.taken);
    }
    holder.kill();
    holder.waitForFinished();
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
