// A channel of the window's lists: which entries are its lines, and whether
// the window switches them by itself.
#include <gtest/gtest.h>

#include "base/text_file.h"
#include "channels/listed_channels.h"
#include "channels/switching_setting.h"
#include "fake_rig.h"

namespace {

void list(Form& f, const QList<std::pair<QString, QString>>& entries) {
  for (const auto& [name, address] : entries) {
    f.tvm.addItem(name);
    f.dz1.addItem(address);
  }
}

QStringList addresses(const playlists::StationList& lines) {
  QStringList out;
  for (const playlists::Station& s : lines) out << s.address;
  return out;
}

TEST(ListedChannels, ALineIsAnEntryOfTheChannelTheMediaPlayerPlays) {
  FakeRig rig;
  list(rig.f, {{"CCTV-1", "http://a/1.m3u8"},
               {"CCTV-2", "http://a/2.m3u8"},
               {"-------------", "-------------"},
               {"中央一台", "http://b/1.flv|Referer=http://b/"},
               {"CCTV1 HD", "rtsp://c/1.rm"},
               {"cctv 1", "http://a/1.m3u8"},
               {"CCTV1", "http://b/1.flv|referer=http://b/"},
               {"CCTV1 高清", "http://d/1.ts"}});
  const QString aliases = rig.f.path("alias.txt");
  ASSERT_TRUE(textfile::write(aliases, QStringLiteral("CCTV-1,中央一台\r\n")));
  channels::ListedChannels listed(playlists::ChannelNames::load(aliases));
  EXPECT_EQ(addresses(listed.linesOf(rig.f, "CCTV-1")),
            (QStringList{"http://a/1.m3u8", "http://b/1.flv|Referer=http://b/", "http://d/1.ts"}));
  EXPECT_EQ(addresses(listed.linesOf(rig.f, "CCTV-2")), QStringList{"http://a/2.m3u8"});
  EXPECT_TRUE(listed.linesOf(rig.f, "Phoenix").isEmpty());

  // A list loaded anew is read anew.
  list(rig.f, {{"CCTV-2 HD", "http://e/2.m3u8"}});
  ++rig.f.stationListLoads;
  EXPECT_EQ(listed.linesOf(rig.f, "CCTV-2").size(), 2);
}

TEST(ListedChannels, SwitchingIsOnUnlessTheSettingsTurnItOff) {
  FakeRig rig;
  const QString settings = rig.f.path("nettv.ini");
  EXPECT_TRUE(channels::lineSwitchingOn(rig.f.programDir));
  const struct {
    const char* text;
    bool on;
  } cases[] = {
      {"[channels]\r\nline-switching=false\r\n", false},
      {"[Channels]\r\nLine-Switching = off\r\n", false},
      {"[channels]\r\nline-switching=0\r\n", false},
      {"[channels]\r\nline-switching=true\r\n", true},
      {"[network]\r\nline-switching=false\r\n", true},
      {"[channels]\r\nline-switching=maybe\r\n", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    ASSERT_TRUE(textfile::write(settings, QString::fromLatin1(c.text)));
    EXPECT_EQ(channels::lineSwitchingOn(rig.f.programDir), c.on);
  }
}

}  // namespace
