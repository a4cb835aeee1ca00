#include "channels/channel_play.h"

#include "form/form.h"

namespace channels {

namespace {

bool listsAt(const Form& f, int entry, const playlists::Station& station) {
  return entry >= 0 && entry < f.tvm.count() && entry < f.dz1.count() &&
         f.tvm.item(entry) == station.name && f.dz1.item(entry) == station.address;
}

int entryOf(const Form& f, const playlists::Station& station) {
  for (int i = 0; i < f.dz1.count(); ++i)
    if (listsAt(f, i, station)) return i;
  return -1;
}

}  // namespace

void PlayChannelLine(Form& f, int entry, const playlists::Station& station) {
  if (!listsAt(f, entry, station)) entry = entryOf(f, station);
  if (entry < 0) {
    f.tvm.setText(station.name);
    f.dz1.setText(station.address);
    f.Command2.click();
    return;
  }
  f.tvm.setListIndex(entry);
  f.tvm.click();
}

}  // namespace channels
