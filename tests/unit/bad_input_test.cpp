#include <sys/stat.h>

#include <QDir>
#include <QHash>
#include <QRandomGenerator>

#include "app/startup.h"
#include "file_permissions.h"
#include "form_fixture.h"
#include "library/station_list.h"
#include "thread_cpu_time.h"

// Malformed files load what they can, never crash or hang, and are never
// written by the code that only reads them.
class BadInputTest : public FormTest {
 protected:
  void load(const QString& name) { library::LoadStationList(f, name); }
  // The bytes of every file of the program folder but the scratch file.
  QHash<QString, QByteArray> snapshot() const {
    QHash<QString, QByteArray> files;
    for (const QString& name : QDir(dir.path()).entryList(QDir::Files))
      if (name != "wjmxd") files.insert(name, readBytes(name));
    return files;
  }
  void expectListsPaired() { EXPECT_EQ(f.tvm.count(), f.dz1.count()); }
};

TEST_F(BadInputTest, BinaryBytesLoadWithoutHarm) {
  QByteArray bytes(256 * 1024, Qt::Uninitialized);
  QRandomGenerator random(42);
  for (char& b : bytes) b = static_cast<char>(random.bounded(256));
  writeBytes("tv_lib.txt", bytes);
  load("tv_lib.txt");
  expectListsPaired();
  EXPECT_EQ(readBytes("tv_lib.txt"), bytes);
}

TEST_F(BadInputTest, InvalidUtf8AndGbkBytesKeepTheLinesApart) {
  const QByteArray bytes = "\x80\xff\xfe name,mms://bad\x81,\r\n\xc3\x28,x\r\nok,mms://ok,\r\n";
  writeBytes("tv_lib.txt", bytes);
  load("tv_lib.txt");
  ASSERT_EQ(f.tvm.count(), 2);
  EXPECT_TRUE(f.dz1.item(0).startsWith("mms://bad"));
  EXPECT_EQ(f.tvm.item(1), "ok");
  EXPECT_EQ(f.dz1.item(1), "mms://ok");
  EXPECT_EQ(readBytes("tv_lib.txt"), bytes);
}

TEST_F(BadInputTest, TenMegabyteLinesLoad) {
  const QByteArray huge(10 * 1024 * 1024, 'a');
  writeBytes("tv_lib.txt", "big,mms://" + huge + ",\r\n" + huge + "\r\nnext,mms://n,\r\n");
  load("tv_lib.txt");
  ASSERT_EQ(f.tvm.count(), 2);
  EXPECT_EQ(f.dz1.item(0).size(), huge.size() + 6);
  EXPECT_EQ(f.tvm.item(1), "next");
}

TEST_F(BadInputTest, TwoHundredThousandLinesLoadWhole) {
  QByteArray bytes;
  for (int i = 0; i < 200000; ++i) bytes += "台" + QByteArray::number(i) + ",mms://h/" +
                                           QByteArray::number(i) + ",\r\n";
  writeBytes("tv_lib.txt", bytes);
  const qint64 loadMs = msToRun([&] { load("tv_lib.txt"); });
  EXPECT_LT(loadMs, 2000);  // about 1 s; quadratic work would take minutes
  ASSERT_EQ(f.tvm.count(), 200000);
  EXPECT_EQ(f.dz1.item(199999), "mms://h/199999");
  EXPECT_EQ(readLines("wjmxd").size(), 200000);
}

TEST_F(BadInputTest, FolderInPlaceOfAFileAddsOnlyTheSeparator) {
  ASSERT_TRUE(QDir(dir.path()).mkdir("tv_lib.txt"));
  load("tv_lib.txt");
  EXPECT_EQ(f.tvm.count(), 0);
  f.tvm.addItem("甲");
  f.dz1.addItem("mms://a");
  load("tv_lib.txt");
  EXPECT_EQ(f.tvm.items(), QStringList({"甲", "-------------"}));
  EXPECT_TRUE(QFileInfo(f.path("tv_lib.txt")).isDir());
}

TEST_F(BadInputTest, PipeInPlaceOfAFileDoesNotHang) {
  ASSERT_EQ(mkfifo(QFile::encodeName(f.path("tv_lib.txt")).constData(), 0600), 0);
  ASSERT_EQ(mkfifo(QFile::encodeName(f.path("gjz.txt")).constData(), 0600), 0);
  ASSERT_EQ(mkfifo(QFile::encodeName(f.path("bfwz.dat")).constData(), 0600), 0);
  app::Form_Load(f);
  EXPECT_EQ(f.tvm.count(), 0);
  EXPECT_EQ(f.Text3.text(), ".mp3-.dat-.ram-.rm-mms:-rtsp:-.asx-.wmv-.");
}

TEST_F(BadInputTest, MissingFileAddsNothing) {
  load("nothing.txt");
  EXPECT_EQ(f.tvm.count(), 0);
  EXPECT_FALSE(exists("nothing.txt"));
}

TEST_F(BadInputTest, UnreadableFileAddsNothing) {
  writeLines("tv_lib.txt", {"甲,mms://a,"});
  QFile::setPermissions(f.path("tv_lib.txt"), {});
  {
    FilePermissionsBind asUser;
    ASSERT_TRUE(asUser.bound());
    load("tv_lib.txt");
  }
  QFile::setPermissions(f.path("tv_lib.txt"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  EXPECT_EQ(f.tvm.count(), 0);
}

TEST_F(BadInputTest, StartUpOverBadFilesChangesNoneOfThem) {
  writeBytes("tv_lib_ss_jg.txt", QByteArray("\x00\x01,\x02,\xff\r\n\x00", 9));
  writeBytes("tv_lib_ss_www.txt", "\xc3\x28,\x80,\r\n");
  writeLines("tv_lib.txt", {"甲,mms://a,", "乙,mms://b,"});
  writeLines("gjz.txt", {"one line"});
  writeBytes("bfwz.dat", "win\r\nabc\r\n");
  writeBytes("dqwz.dat", "real\r\n99999999999999\r\n");
  const auto before = snapshot();
  app::Form_Load(f);
  expectListsPaired();
  EXPECT_EQ(snapshot(), before);
  EXPECT_EQ(f.StationIndex, 0);
  EXPECT_EQ(f.tvm.listIndex(), 0);
}

TEST_F(BadInputTest, MarkerFileOfFiftyLinesIsOnlyRead) {
  QStringList lines;
  for (int i = 0; i < 50; ++i) lines << QString::number(i);
  writeLines("gjz.txt", lines);
  const auto before = snapshot();
  app::Form_Load(f);
  EXPECT_EQ(snapshot(), before);
}

TEST_F(BadInputTest, HugeSavedIndexSelectsTheFirstEntry) {
  writeLines("tv_lib.txt", {"甲,mms://a,", "乙,mms://b,"});
  writeBytes("bfwz.dat", "real\r\n99999999999999\r\n");
  app::Form_Load(f);
  EXPECT_EQ(f.StationIndex, 0);
  EXPECT_EQ(f.tvm.text(), "甲");
  EXPECT_EQ(readBytes("bfwz.dat"), "real\r\n99999999999999\r\n");
}
