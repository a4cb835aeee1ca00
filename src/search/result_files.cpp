#include "search/result_files.h"

#include "form/form.h"
#include "base/text_file.h"
#include "playlists/station_files.h"
#include "library/station_list.h"
#include "playback/play_address.h"
#include "library/temp_entries.h"

namespace search {

namespace {

const QString kRestoreCaption = QStringLiteral("恢复");
const QString kDefaultCaption = QStringLiteral("缺省");
constexpr int kCompactListHeight = 5300;

bool sameText(const QString& a, const QString& b) {
  const auto left = textfile::read(a);
  return left && left == textfile::read(b);
}

void reloadLists(Form& f) {
  f.crawl.record.clear();
  library::ClearStationLists(f);
  for (ListControl* list : {&f.List3, &f.List2, &f.tvmx}) list->clear();
  for (Control* label : {&f.Label1, &f.Label2, &f.Label3}) label->setCaption(QString());
  f.Command10.setCaption(QStringLiteral("搜台"));
  if (!library::LoadStationList(f, library::kFoundFile) ||
      !library::LoadStationList(f, library::kScannedFile))
    return;
  f.tvm.setText(f.tvm.item(0));
  f.dz1.setText(f.dz1.item(0));
  if (!library::LoadStationList(f, library::kLibraryFile)) return;
  library::ListTempEntries(f);
}

void copyChecked(Form& f, const QString& from, const QString& to) {
  f.writes.check(to, textfile::copy(from, to));
}

}  // namespace

void RestoreResults(Form& f) {
  copyChecked(f, f.path(library::kFoundBackupFile), f.path(library::kFoundFile));
}

void DefaultResults(Form& f) {
  const QString found = f.path(library::kFoundFile);
  const QString defaults = f.path(library::kDefaultResultsFile);
  // The toggle starts at "缺省" after every restart: while the default set is
  // still in use, the backup keeps the user's own results.
  if (!sameText(found, defaults)) copyChecked(f, found, f.path(library::kFoundBackupFile));
  copyChecked(f, defaults, found);
}

void ResultSetToggle(Form& f) {
  if (f.Command16.caption() == kRestoreCaption) {
    RestoreResults(f);
    f.Command16.setCaption(kDefaultCaption);
  } else {
    f.Command16.setCaption(kRestoreCaption);
    DefaultResults(f);
  }
  playback::StopAll(f);
  f.form1.setHeight(kCompactHeight);
  f.form1.setWidth(kCompactWidth);
  f.List3.setHeight(kCompactListHeight);
  f.WebBrowser1.setVisible(false);
  f.RealAudio1.setVisible(false);
  f.WindowsMediaPlayer1.setVisible(true);
  reloadLists(f);
}

}  // namespace search
