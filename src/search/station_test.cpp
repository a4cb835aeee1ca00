#include "search/station_test.h"

#include "form/form.h"
#include "playlists/station_files.h"
#include "library/station_list.h"
#include "monitor/list_scan.h"
#include "playback/play_address.h"
#include "search/crawl_driver.h"

namespace search {

namespace {

constexpr int kF11 = 122;

}  // namespace

void TestAllStations(Form& f) {
  f.List3.clear();
  f.Command10.setCaption(QStringLiteral("搜台"));
  f.Check2.setChecked(false);
  f.form1.setWidth(kWideWidth);
  if (f.Command17.caption() == kWebSearchCaption) {
    library::ClearStationLists(f);
    if (!library::LoadStationList(f, library::kScannedFile) ||
        !library::LoadStationList(f, library::kExtraResultsFile))
      return;
  } else {
    f.Command17.setCaption(kWebSearchCaption);
  }
  playback::StopAll(f);
  f.RunMode = kAutomaticRun;
  f.Text2.setText(QString());
  monitor::StartListScan(f);
}

void Command10_KeyDown(Form& f, int keyCode) {
  if (keyCode != kF11) return;
  f.l.setVisible(true);
  f.Text1.setVisible(true);
  f.dz1.setVisible(true);
}

}  // namespace search
