#include "playback/transport.h"

#include "form/form.h"
#include "library/entry_lookup.h"
#include "library/station_editing.h"
#include "library/scan_marker_text.h"
#include "playback/play_address.h"

namespace playback {

namespace {

constexpr int kRepeatCount = 10;

// Index of the entry the name box shows, or -1.
int currentEntry(const Form& f) { return library::shownEntry(f.tvm); }

bool inList(const Form& f, int index) { return index >= 0 && index < f.tvm.count(); }

// Shows entry index in both boxes.
void selectEntry(Form& f, int index) {
  f.tvm.setListIndex(index);
  f.dz1.setListIndex(index);
}

// Previous (step -1) or next (step 1) entry; past either end of the list
// nothing changes.
void stepEntry(Form& f, int step) {
  f.tvm.setVisible(true);
  const int current = currentEntry(f);
  if (current < 0) {
    f.WindowsMediaPlayer1->setPlayCount(kRepeatCount);
    f.form1.setHeight(kCompactHeight);
    return;
  }
  if (!inList(f, current + step)) return;
  selectEntry(f, current + step);
  f.Check2.setChecked(true);
  f.up.playResolvedAddress();
  // A real player play clears manual mode; stepping keeps it.
  f.Check2.setChecked(true);
}

}  // namespace

void Command2_Click(Form& f) {
  f.SearchState = kSearchHalted;
  f.RunMode = kNormalRun;
  f.up.playResolvedAddress();
}

void Command4_Click(Form& f) {
  f.Check2.setChecked(true);
  stepEntry(f, -1);
}

void Command5_Click(Form& f) { stepEntry(f, 1); }

void Command18_Click(Form& f) {
  const QString file = f.host.showOpenDialog();
  // A cancelled dialog leaves everything as it was.
  if (file.isEmpty()) return;
  f.CommonDialog1.FileName = file;
  f.dz1.setText(f.CommonDialog1.FileName);
  f.up.playResolvedAddress();
}

void tvm_Click(Form& f) {
  const int index = f.tvm.listIndex();
  if (index < 0) return;
  f.dz1.setText(f.dz1.item(index));
  f.WindowsMediaPlayer1->setPlayCount(kRepeatCount);
  f.RunMode = kNormalRun;
  f.up.playResolvedAddress();
  f.tvm.setVisible(true);
  f.form1.setHeight(kCompactHeight);
  library::ShowEntryIndex(f, index);
  f.host.yield();
}

void dz1_Click(Form& f) {
  const int index = f.dz1.listIndex();
  if (index < 0) return;
  f.tvm.setText(f.tvm.item(index));
  f.WindowsMediaPlayer1->setPlayCount(kRepeatCount);
  f.tvm.setVisible(true);
  library::ShowEntryIndex(f, index);
  f.RunMode = kNormalRun;
  f.up.playResolvedAddress();
}

void tvm_KeyDown(Form& f, int keyCode) {
  if (keyCode != kEnterKey) return;
  const int index = currentEntry(f);
  if (index < 0) return;
  selectEntry(f, index);
  // Enter plays the address box as it stands, marker or not.
  PlayAddress(f, f.dz1.text());
}

void tvm_GotFocus(Form& f) {
  f.dz1.setVisible(true);
  library::ShowAddCaption(f);
}

void tvm_LostFocus(Form& f) { library::ShowAddCaption(f); }

void dz1_GotFocus(Form& f) {
  f.tvm.setVisible(true);
  f.dz1.setVisible(true);
  library::ShowAddCaption(f);
}

void Timer10_Timer(Form& f) {
  f.Timer10.setEnabled(false);
  if (library::hasNoHash(f.dz1.text())) PlayNextEntry(f);
}

void PlayNextEntry(Form& f) {
  const int current = currentEntry(f);
  // No named entry, or the last one: there is no next station.
  if (current < 0 || !inList(f, current + 1)) return;
  selectEntry(f, current + 1);
  f.up.playResolvedAddress();
}

}  // namespace playback
