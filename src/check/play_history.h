#pragma once

class Form;

namespace check {

// Every network station the window's players play or fail on goes into the
// health history: as the user plays, and as the station scan tries its
// candidates. Connected before the players' own handlers, which empty the
// error queue.
void RecordPlays(Form& f);

}  // namespace check
