#include "library/found_list.h"

#include "form/form.h"
#include "playlists/station_files.h"
#include "library/station_list.h"
#include "library/temp_entries.h"

namespace library {

void ListFoundStations(Form& f) {
  const quint64 load = ClearStationLists(f);
  if (!LoadStationList(f, kFoundFile) || !yieldWithinLoad(f, load)) return;
  library::ListTempEntries(f);
  if (!yieldWithinLoad(f, load)) return;
  f.tvm.setText(f.tvm.item(0));
  f.dz1.setText(f.dz1.item(0));
}

}  // namespace library
