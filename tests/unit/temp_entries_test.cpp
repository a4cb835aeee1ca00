#include <QDir>

#include "form_fixture.h"
#include "library/temp_entries.h"

class TempEntriesTest : public FormTest {
 protected:
  void createTempFile(const QString& name) {
    ASSERT_TRUE(QDir(dir.path()).mkpath("temp"));
    writeBytes("temp/" + name, "x");
  }
  QString tempPath(const QString& name) const { return QDir(f.path("temp")).filePath(name); }
};

TEST_F(TempEntriesTest, ListsAsxAndHtmFilesOfAnyCase) {
  ASSERT_TRUE(QDir(dir.path()).mkpath("temp/sub.asx"));
  for (const QString name : {"新闻.asx", "Sport.HTM", "page.html", "notes.txt", "x.asx.bak"})
    createTempFile(name);
  f.tvm.addItem("甲");
  f.dz1.addItem("mms://a");
  library::ListTempEntries(f);

  ASSERT_EQ(f.tvm.count(), 3);
  ASSERT_EQ(f.dz1.count(), 3);
  EXPECT_EQ(f.tvm.item(0), "甲");
  QStringList pairs;
  for (int i = 1; i < 3; ++i) pairs << f.tvm.item(i) + " -> " + f.dz1.item(i);
  pairs.sort();
  EXPECT_EQ(pairs, QStringList({"Sport -> " + tempPath("Sport.HTM"),
                                "新闻 -> " + tempPath("新闻.asx")}));
}

TEST_F(TempEntriesTest, ListedPathsAreAbsolute) {
  createTempFile("a.asx");
  library::ListTempEntries(f);
  ASSERT_EQ(f.dz1.count(), 1);
  EXPECT_TRUE(QDir::isAbsolutePath(f.dz1.item(0)));
}

TEST_F(TempEntriesTest, MissingOrEmptyTempFolderAddsNothing) {
  library::ListTempEntries(f);
  EXPECT_EQ(f.tvm.count(), 0);
  ASSERT_TRUE(QDir(dir.path()).mkdir("temp"));
  library::ListTempEntries(f);
  EXPECT_EQ(f.tvm.count(), 0);
  EXPECT_EQ(f.dz1.count(), 0);
}

TEST_F(TempEntriesTest, TempThatIsAFileAddsNothing) {
  writeBytes("temp", "not a folder");
  library::ListTempEntries(f);
  EXPECT_EQ(f.tvm.count(), 0);
}
