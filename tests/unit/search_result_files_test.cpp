// The result-set toggle: default set and back, and the lists it reloads.
#include "playlists/station_files.h"
#include "search/result_files.h"
#include "search_fixture.h"

namespace {

using namespace library;

class ResultFilesTest : public SearchTest {
 protected:
  ResultFilesTest() {
    writeLines(kFoundFile, {"验证,mms://tv.cn/ok,"});
    writeLines(kDefaultResultsFile, {"缺省台,mms://tv.cn/default,"});
    writeLines(kScannedFile, {"扫描,mms://tv.cn/www,"});
    writeLines(kLibraryFile, {"库,mms://tv.cn/lib,"});
  }
};

TEST_F(ResultFilesTest, DefaultThenRestoreGivesTheVerifiedResultsBack) {
  const QByteArray verified = readBytes(kFoundFile);
  f.Command16.click();
  EXPECT_EQ(f.Command16.caption(), "恢复");
  EXPECT_EQ(readLines(kFoundFile), QStringList({"缺省台,mms://tv.cn/default,"}));
  EXPECT_EQ(readBytes(kFoundBackupFile), verified);
  f.Command16.click();
  EXPECT_EQ(f.Command16.caption(), "缺省");
  EXPECT_EQ(readBytes(kFoundFile), verified);
  EXPECT_EQ(readBytes(kFoundBackupFile), verified);
}

TEST_F(ResultFilesTest, ListsHoldVerifiedFoundAndLibraryStationsInThisOrder) {
  f.Text1.setText("http://site.cn/\r\n");
  f.tvmx.addItem("http://site.cn/");
  f.List1.addItem("http://visited.cn/");
  f.Label1.setCaption("已搜索：1");
  f.Command16.click();
  EXPECT_EQ(f.tvm.items(), QStringList({"缺省台", kSeparator, "扫描", kSeparator, "库"}));
  EXPECT_EQ(f.tvm.text(), "缺省台");
  EXPECT_EQ(f.dz1.text(), "mms://tv.cn/default");
  EXPECT_EQ(f.Text1.text(), "");
  EXPECT_EQ(f.tvmx.count(), 0);
  EXPECT_EQ(f.List1.count(), 1);
  EXPECT_EQ(f.Label1.caption(), "");
  EXPECT_EQ(f.Command10.caption(), "搜台");
  EXPECT_EQ(f.form1.width(), kCompactWidth);
  EXPECT_EQ(f.form1.height(), kCompactHeight);
  EXPECT_TRUE(f.WindowsMediaPlayer1.visible());
  EXPECT_FALSE(f.WebBrowser1.visible());
}

TEST_F(ResultFilesTest, DefaultActionWhileTheDefaultSetIsInUseKeepsTheBackup) {
  f.Command16.click();
  // A restart shows "缺省" again although the default set is in use.
  f.Command16.setCaption("缺省");
  f.Command16.click();
  f.Command16.click();
  EXPECT_EQ(readLines(kFoundFile), QStringList({"验证,mms://tv.cn/ok,"}));
}

TEST_F(ResultFilesTest, MissingDefaultSetOnlyRefreshesTheBackup) {
  QFile::remove(f.path(kDefaultResultsFile));
  f.Command16.click();
  EXPECT_EQ(readLines(kFoundFile), QStringList({"验证,mms://tv.cn/ok,"}));
  EXPECT_EQ(readLines(kFoundBackupFile), QStringList({"验证,mms://tv.cn/ok,"}));
  EXPECT_EQ(f.tvm.item(0), "验证");
}

}  // namespace
