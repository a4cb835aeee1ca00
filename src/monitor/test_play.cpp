#include "monitor/test_play.h"

#include "form/form.h"
#include "library/scan_marker_text.h"
#include "playlists/station_files.h"
#include "monitor/scan_marker.h"

namespace monitor {

namespace {

bool scanListInAddressBox(const Form& f) {
  return f.dz1.text().startsWith(u"list", Qt::CaseInsensitive);
}

// Takes the address the deferred start plays, clearing what it used.
QString takeQueuedAddress(Form& f) {
  QString address;
  if (!f.PendingAddress.isEmpty()) {
    address = f.PendingAddress;
    f.PendingAddress.clear();
    f.CurrentAddress.clear();
  } else if (!f.CurrentAddress.isEmpty()) {
    address = f.CurrentAddress;
    f.CurrentAddress.clear();
  } else {
    address = AdvanceScanMarker(f, f.dz1.text());
  }
  return address;
}

}  // namespace

void StartQueuedAddress(Form& f) {
  f.Timer8.setEnabled(false);
  // The real player is the engine in use: it moves on by itself.
  if (f.RealAudio1.visible()) return;
  const QString address = takeQueuedAddress(f);
  // Not disabled again afterwards: a failure the engine reports while it is
  // handed the address may already have queued the next start, and losing
  // that start would leave the scan waiting forever.
  if (!address.isEmpty()) f.WindowsMediaPlayer1->setURL(address);
}

void RecordScanHit(Form& f) {
  const auto index = library::scanCounter(f.dz1.text());
  if (!index) return;
  const QString address = f.dz1.item(*index);
  if (address.isEmpty()) return;
  f.Text2.setText(library::stationLine(f.tvm.text(), address));
}

void ContinueScanWmp(Form& f) {
  if (!scanListInAddressBox(f)) return;
  f.WindowsMediaPlayer1->close();
  f.PendingAddress = AdvanceScanMarker(f, f.dz1.text());
  if (!f.PendingAddress.isEmpty()) f.Timer8.setEnabled(true);
}

void ContinueScanReal(Form& f) {
  if (scanListInAddressBox(f)) f.RealAudio1->call(RealPlayer::Stop);
}

}  // namespace monitor
