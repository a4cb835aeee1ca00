#include "app/startup.h"
#include "form_fixture.h"
#include "playback/position_files.h"

class PositionFilesTest : public FormTest {
 protected:
  // StationIndex after reading a bfwz.dat with these bytes, starting from 0.
  qint32 readBack(const QByteArray& bytes) {
    writeBytes("bfwz.dat", bytes);
    f.StationIndex = 0;
    EXPECT_EQ(playback::ReadLastPlayed(f), 1);
    return f.StationIndex;
  }
};

TEST_F(PositionFilesTest, WritesEngineThenIndexWithCrLf) {
  f.PlayerKind = "win";
  playback::SaveLastPlayed(f, 12);
  EXPECT_EQ(readBytes("bfwz.dat"), "win\r\n12\r\n");
  f.PlayerKind = "real";
  playback::SaveLastPlayed(f, -1);
  EXPECT_EQ(readBytes("bfwz.dat"), "real\r\n-1\r\n");
  EXPECT_FALSE(exists("dqwz.dat"));
}

TEST_F(PositionFilesTest, RunPositionGoesToItsOwnFile) {
  writeBytes("bfwz.dat", "win\r\n1\r\n");
  f.PlayerKind = "real";
  playback::SaveRunPosition(f, 2147483647);
  EXPECT_EQ(readBytes("dqwz.dat"), "real\r\n2147483647\r\n");
  EXPECT_EQ(readBytes("bfwz.dat"), "win\r\n1\r\n");
}

TEST_F(PositionFilesTest, UnknownEngineWritesNothing) {
  writeBytes("bfwz.dat", "real\r\n4");
  for (const QString kind : {"", "Win", "browser"}) {
    f.PlayerKind = kind;
    playback::SaveLastPlayed(f, 9);
    playback::SaveRunPosition(f, 9);
  }
  EXPECT_EQ(readBytes("bfwz.dat"), "real\r\n4");
  EXPECT_FALSE(exists("dqwz.dat"));
}

TEST_F(PositionFilesTest, ReadsTheSecondLineWhateverTheEngine) {
  EXPECT_EQ(readBack("real\r\n5\r\n"), 5);
  EXPECT_EQ(readBack("win\r\n-1\r\n"), -1);
  EXPECT_EQ(readBack("anything\n7"), 7);
  EXPECT_EQ(readBack("\r\n 8 \r\nmore\r\n"), 8);
}

TEST_F(PositionFilesTest, RoundsHalvesToEven) {
  EXPECT_EQ(readBack("win\r\n2.5\r\n"), 2);
  EXPECT_EQ(readBack("win\r\n3.5\r\n"), 4);
  EXPECT_EQ(readBack("win\r\n2.6\r\n"), 3);
  EXPECT_EQ(readBack("win\r\n-0.5\r\n"), 0);
}

TEST_F(PositionFilesTest, UnreadableIndexLeavesItUnchanged) {
  for (const QByteArray bytes : {"win\r\nabc\r\n", "win\r\n99999999999999\r\n", "win\r\n",
                                 "win\r\n\r\n", "win\r\nnan\r\n", "", "win\r\n12abc\r\n"}) {
    EXPECT_EQ(readBack(bytes), 0) << bytes.toStdString();
  }
  EXPECT_EQ(readBack("\x80\xff\r\n\xfe"), 0);
}

TEST_F(PositionFilesTest, MissingFileLeavesTheIndexUnchanged) {
  f.StationIndex = 6;
  playback::ReadLastPlayed(f);
  EXPECT_EQ(f.StationIndex, 6);
}

TEST_F(PositionFilesTest, StartUpSelectsTheSavedEntry) {
  writeLines("tv_lib.txt", {"a,mms://a,", "b,mms://b,", "c,mms://c,", "d,mms://d,", "e,mms://e,",
                            "f,mms://f,", "g,mms://g,"});
  writeBytes("bfwz.dat", "real\r\n5\r\n");
  app::Form_Load(f);
  EXPECT_EQ(f.tvm.text(), "f");
  EXPECT_EQ(f.dz1.text(), "mms://f");
}

TEST_F(PositionFilesTest, IndexPastTheListsSelectsTheFirstEntry) {
  writeLines("tv_lib.txt", {"a,mms://a,", "b,mms://b,", "c,mms://c,"});
  writeBytes("bfwz.dat", "win\r\n7\r\n");
  app::Form_Load(f);
  EXPECT_EQ(f.tvm.listIndex(), 0);
  EXPECT_EQ(f.dz1.text(), "mms://a");
}
