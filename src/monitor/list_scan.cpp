#include "monitor/list_scan.h"

#include "form/form.h"
#include "library/scan_marker_text.h"
#include "monitor/scan_marker.h"
#include "playback/play_address.h"

namespace monitor {

namespace {

// Plays one candidate of a running scan. The play procedure skips a name
// that looks like a list separator; the deferred start then hands the queued
// address to the media player directly, so the scan never waits for a play
// that was not started.
void playCandidate(Form& f, const QString& address) {
  playback::PlayAddress(f, address);
  if (f.tvm.text().contains(u"---") && library::isScanMarker(f.dz1.text())) f.Timer8.setEnabled(true);
}

}  // namespace

void StartListScan(Form& f) {
  f.dz1.setText(library::kScanStartMarker);
  f.List3.addItem(library::kScanStartMarker);
  if (f.dz1.count() == 0) {
    // Nothing to try: the scan ends at once.
    AdvanceScanMarker(f, library::kScanStartMarker);
    return;
  }
  f.tvm.setText(f.tvm.item(0));
  playCandidate(f, f.dz1.item(0));
}

void PlayResolvedAddress(Form& f) {
  const QString address = AdvanceScanMarker(f, f.dz1.text());
  if (!address.isEmpty()) playCandidate(f, address);
}

}  // namespace monitor
