#include "library/found_entries.h"

#include "form/form.h"
#include "playlists/station_files.h"

namespace library {

void AppendFoundEntry(Form& f, const QString& entry) {
  f.writes.appendLines(f.path(kFoundFile), {entry});
}

void SaveLastFoundEntry(Form& f) { AppendFoundEntry(f, f.Text2.text()); }

void RecordFoundAddress(Form& f, const QString& address) {
  f.dz1.setText(address);
  AppendFoundEntry(f, stationLine(f.tvm.text(), address));
}

}  // namespace library
