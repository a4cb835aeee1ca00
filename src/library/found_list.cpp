#include "library/found_list.h"

#include "app/form.h"
#include "library/station_files.h"
#include "library/station_list.h"
#include "playback/temp_entries.h"

namespace library {

void ListFoundStations(Form& f) {
  f.tvm.clear();
  f.dz1.clear();
  LoadStationList(f, kFoundFile);
  f.host.yield();
  playback::ListTempEntries(f);
  f.host.yield();
  f.tvm.setText(f.tvm.item(0));
  f.dz1.setText(f.dz1.item(0));
}

}  // namespace library
