// Closing the window (or SIGTERM) while a procedure is inside a yield runs
// Unload there; the interrupted procedure then stops, and no engine call
// follows Unload.
#include <functional>

#include "app/startup.h"
#include "app/wiring.h"
#include "fake_rig.h"
#include "base/text_file.h"
#include "form_fixture.h"

namespace {

struct Case {
  const char* what;
  std::function<void(FakeRig&)> prepare;
  std::function<void(FakeRig&)> run;
};

// A station scan under way on five candidates, the first one playing.
void scanning(FakeRig& r) {
  for (int i = 0; i < 5; ++i) {
    r.f.tvm.addItem(QString("台%1").arg(i));
    r.f.dz1.addItem(QString("mms://host/%1").arg(i));
  }
  r.f.dz1.setText("list#0000000#");
  r.f.RunMode = kAutomaticRun;
  r.f.RealAudio1.setVisible(false);
}

void crawling(FakeRig& r) {
  r.f.Command17.setCaption("网上");
  r.f.SearchState = kSearchRunning;
  r.web.location = "http://site.cn/";
  r.f.tvmx.addItem("http://site.cn/a.html");
  r.f.List3.addItem("甲");
  r.f.WebBrowser1.setVisible(true);
}

void withStationFiles(FakeRig& r) {
  for (const char* name : {"tv_lib.txt", "tv_lib_ss_jg.txt", "tv_lib_ss_www.txt"})
    ASSERT_TRUE(textfile::writeLines(r.f.path(name), {"甲,mms://a,", "乙,mms://b,"}));
}

TEST(ProgramEndTest, NothingRunsOnAfterAnUnloadInsideAYield) {
  const Case cases[] = {
      {"start-up", withStationFiles, [](FakeRig& r) { app::Form_Load(r.f); }},
      {"the media player's end of a candidate", scanning,
       [](FakeRig& r) { r.wmp.raiseState(MediaPlayer::MediaEnded); }},
      {"the real player's stop of a candidate",
       [](FakeRig& r) {
         scanning(r);
         r.f.RealAudio1.setVisible(true);
         r.f.dz1.setText("list#0000000#");
         r.real.props[RealPlayer::PlayState] = RealPlayer::Playing;
       },
       [](FakeRig& r) { r.real.raiseState(RealPlayer::Stopped); }},
      {"a step of the web search", crawling, [](FakeRig& r) { r.f.tvmx.click(); }},
      {"the station test",
       [](FakeRig& r) {
         withStationFiles(r);
         r.f.Command17.setCaption("网上搜索");
       },
       [](FakeRig& r) { r.f.Command10.click(); }},
      {"a stop in an automatic run",
       [](FakeRig& r) {
         withStationFiles(r);
         r.f.RunMode = kAutomaticRun;
       },
       [](FakeRig& r) { r.f.Command9.click(); }},
  };
  for (const Case& c : cases) {
    FakeRig r;
    app::wire(r.f);
    r.f.startTimers();
    c.prepare(r);
    qsizetype callsAtUnload = -1;
    r.host.post([&r, &callsAtUnload] {
      app::Form_Unload(r.f);
      callsAtUnload = r.log.size();
    });
    c.run(r);
    ASSERT_GE(callsAtUnload, 0) << c.what;
    EXPECT_EQ(r.log.mid(callsAtUnload), QStringList()) << c.what;
    // Nor does a handler run when an engine reports afterwards.
    r.wmp.raiseState(MediaPlayer::Ready);
    r.real.raiseState(RealPlayer::Stopped);
    EXPECT_EQ(r.log.mid(callsAtUnload), QStringList()) << c.what;
  }
}

}  // namespace
