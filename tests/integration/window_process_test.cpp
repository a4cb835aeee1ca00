// The window as its own process, ended by a termination signal: it ends
// whether or not it can save its files, and says what it could not save.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>

#include "event_loop_wait.h"
#include "temp_files.h"

namespace {

// Whether the process has a handler of its own for SIGTERM (SigCgt of its
// status), so the signal reaches the program rather than ending it at once.
bool catchesSigterm(qint64 pid) {
  QFile status(QStringLiteral("/proc/%1/status").arg(pid));
  if (!status.open(QIODevice::ReadOnly)) return false;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (!line.startsWith("SigCgt:")) continue;
    const quint64 caught = line.mid(7).trimmed().toULongLong(nullptr, 16);
    return caught & (quint64{1} << (SIGTERM - 1));
  }
  return false;
}

TEST(WindowProcess, EndsOnSigtermWhetherOrNotItCanSave) {
  QTemporaryDir root;
  // A regular file where a folder would be: no folder under it can be
  // made, even by root.
  const QString blocker = writeFile(root, QStringLiteral("file"), "x");
  const struct {
    const char* what;
    QString dir;
    bool saves;
  } cases[] = {
      {"a folder it can write", root.path(), true},
      {"a folder that cannot exist", blocker + QStringLiteral("/nettv"), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QProcess window;
    window.start(NETTV_BINARY, {QStringLiteral("--dir"), c.dir});
    ASSERT_TRUE(window.waitForStarted());
    ASSERT_TRUE(waitUntil([&] { return catchesSigterm(window.processId()); }, 10000));
    ::kill(static_cast<pid_t>(window.processId()), SIGTERM);
    const bool ended = waitUntil([&] { return window.state() == QProcess::NotRunning; }, 10000);
    if (!ended) window.kill();
    ASSERT_TRUE(ended);
    EXPECT_EQ(window.exitStatus(), QProcess::NormalExit);
    const QString errors = QString::fromLocal8Bit(window.readAllStandardError());
    EXPECT_EQ(QFile::exists(QDir(c.dir).filePath(QStringLiteral("gjz.txt"))), c.saves);
    EXPECT_EQ(errors.contains(QStringLiteral("无法写入")), !c.saves) << errors.toStdString();
  }
}

}  // namespace
