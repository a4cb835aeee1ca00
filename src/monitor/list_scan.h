#pragma once

class Form;

namespace monitor {

// Starts a station scan over the entries of tvm and dz1: puts the start
// marker into dz1, logs it and plays entry 0. The player events then carry
// the scan from candidate to candidate.
void StartListScan(Form& f);

// Plays the address box text resolved through the scan marker; during a
// scan that is the next candidate. Starts nothing once the scan is over.
void PlayResolvedAddress(Form& f);

}  // namespace monitor
