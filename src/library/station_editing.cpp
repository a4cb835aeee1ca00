#include "library/station_editing.h"

#include "form/form.h"
#include "library/entry_lookup.h"
#include "library/found_entries.h"
#include "playlists/station_files.h"
#include "library/station_list.h"
#include "library/temp_entries.h"

namespace library {

namespace {

// A name or address the station line format cannot hold: empty, or with the
// comma that separates the fields.
bool unstorable(const QString& field) { return field.isEmpty() || field.contains(u','); }

}  // namespace

void AddStation(Form& f) {
  const QString name = f.tvm.text();
  const QString address = f.dz1.text();
  if (!unstorable(name) && !unstorable(address)) AppendFoundEntry(f, stationLine(name, address));
  ReloadAllStationLists(f);
  if (f.terminated) return;
  library::ListTempEntries(f);
  f.tvm.setText(name);
  f.dz1.setText(address);
}

void DeleteStation(Form& f) {
  const int index = shownEntry(f.tvm);
  if (index < 0) return;
  f.up.stopAll();
  f.tvm.removeItem(index);
  f.dz1.removeItem(index);
  showEntry(f.tvm, index);
  showEntry(f.dz1, index);
}

void Text2_Change(Form& f) { AppendFoundEntry(f, f.Text2.text()); }

void Check3_Click(Form& f) { SaveLastFoundEntry(f); }

void ShowAddCaption(Form& f) {
  f.Command3.setCaption(QStringLiteral("增加"));
  f.Command3.setToolTip(QStringLiteral("增加电视台地址"));
}

void ShowEntryIndex(Form& f, int index) {
  f.Command3.setCaption(QString::number(index));
  f.Command3.setToolTip(QStringLiteral("在列表框中序号"));
}

void ShowPlayingCount(Form& f) { f.Command3.setCaption(QString::number(f.PlayingCount)); }

void Command3_LostFocus(Form& f) { f.Command3.setCaption(QStringLiteral("add")); }

}  // namespace library
