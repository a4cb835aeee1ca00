#include "app/startup.h"

#include "form/form.h"
#include "form/marker_texts.h"
#include "base/text_file.h"
#include "base/vb_text.h"
#include "library/found_entries.h"
#include "playlists/station_files.h"
#include "library/station_list.h"
#include "playback/position_files.h"
#include "library/temp_entries.h"

namespace app {

namespace {

// The major number of a version text (the characters up to its first
// point) is at least minimum.
bool versionAtLeast(const QString& version, int minimum) {
  const int p = vb::instr(version, QStringLiteral("."));
  const auto major = vb::toNumber(vb::left(version, p));
  return major && *major >= minimum;
}

void checkVersions(Form& f) {
  if (!versionAtLeast(f.WindowsMediaPlayer1->versionInfo(), 9))
    f.host.messageBox(QStringLiteral("请安装 WindowsMediaPlayer 9.0.0.2980 及以上版本"),
                      kApplicationTitle, MessageIcon::None);
  if (!versionAtLeast(f.RealAudio1->get(RealPlayer::Version).toString(), 6))
    f.host.messageBox(QStringLiteral("请安装 Real 6.0.11.847 及以上版本"), kApplicationTitle,
                      MessageIcon::None);
}

void applyRealPlayerSettings(Form& f) {
  f.RealAudio1->call(RealPlayer::Setting271, {3});
  for (int id : {RealPlayer::Setting231, RealPlayer::Setting307, RealPlayer::Setting275})
    f.RealAudio1->call(id, {true});
  f.RealAudio1->get(RealPlayer::Setting220);
  f.RealAudio1->call(RealPlayer::Setting221, {true});
}

}  // namespace

void LoadMarkerLists(Form& f) {
  const MarkerTexts saved = savedMarkerTexts(f.path(library::kMarkerFile));
  f.Text3.setText(saved.mediaTypes);
  f.Text4.setText(saved.starts);
  f.Text5.setText(saved.ends);
}

void SaveMarkerLists(Form& f) {
  const QString path = f.path(library::kMarkerFile);
  f.writes.check(path, textfile::writeLines(path, {f.Text3.text(), f.Text4.text(), f.Text5.text()}));
}

void PrepareMainWindow(Form& f) {
  f.RealAudio1->call(RealPlayer::Setting326, {true});
  f.Command3.setCaption(QString::number(f.tvm.count()));
  f.Command2.setFocus();
  library::ReloadAllStationLists(f);
  if (f.terminated) return;
  library::ListTempEntries(f);
  playback::ReadLastPlayed(f);
  if (f.StationIndex < 0 || f.StationIndex > f.tvm.count()) f.StationIndex = 0;
  f.tvm.setText(f.tvm.item(f.StationIndex));
  f.dz1.setText(f.dz1.item(f.StationIndex));
  f.form1.setHeight(kCompactHeight);
  applyRealPlayerSettings(f);
  f.RunMode = kNormalRun;
  checkVersions(f);
  f.WebBrowser1.setVisible(false);
}

void Form_Load(Form& f) {
  f.WindowsMediaPlayer1->setMute(false);
  f.RealAudio1->call(RealPlayer::SoundOn, {false});
  f.form1.setHeight(kCompactHeight);
  f.form1.setWidth(kCompactWidth);
  f.form1.setCaption(kProductCaption);
  f.form1.setVisible(true);
  f.l.setVisible(true);
  f.Text1.setVisible(true);
  f.dz1.setEnabled(true);
  f.Command3.setVisible(true);
  f.form1.setCaption(kProductCaption + QStringLiteral(" ver ") + kVersion);
  LoadMarkerLists(f);
  PrepareMainWindow(f);
  if (f.terminated) return;
  f.startTimers();
}

void Form_Unload(Form& f) {
  SaveMarkerLists(f);
  f.form1.setVisible(false);
  if (f.RunMode == kAutomaticRun) library::SaveLastFoundEntry(f);
  f.StationIndex = f.tvm.listIndex();
  if (f.RunMode == kAutomaticRun) playback::SaveRunPosition(f, f.StationIndex);
  playback::SaveLastPlayed(f, f.StationIndex);
  for (Timer* t : {&f.Timer5, &f.Timer8, &f.Timer9, &f.Timer10}) t->setEnabled(false);
  f.writes.retry();
  f.terminated = true;
  f.host.quit();
}

}  // namespace app
