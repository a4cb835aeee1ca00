#pragma once

class Form;

namespace monitor {

// Tick of Timer8: starts the media player on the queued address, on the
// fallback address, or on the next candidate of the scan.
void StartQueuedAddress(Form& f);
// Puts the found-station line of the candidate that plays into Text2, whose
// change handler stores it. Records nothing without a marker in dz1.
void RecordScanHit(Form& f);
// After a hit in the media player: closes it and queues the next candidate.
void ContinueScanWmp(Form& f);
// After a hit in the real player: stops it; its stop report moves on.
void ContinueScanReal(Form& f);

}  // namespace monitor
