#pragma once

#include <QString>

#include "form/channel_player.h"

namespace channels {

// What happened to a channel's line while it played, for the window's status
// line and the command line's report.
struct LineEvent {
  enum class Kind {
    Chosen,     // a line was picked to play: the best one, or by hand
    Started,    // its first picture or sound
    Stalled,    // it gave no new media for the stall time
    Flagged,    // it was black, silent or frozen for the bad time
    Failed,     // it did not start, or stopped
    Switched,   // play moved on to another line by itself
    Refreshed,  // its address was refreshed from its page
    GaveUp,     // every line failed once: nothing plays
  };
  Kind kind = Kind::Chosen;
  int number = 0;  // of the line, from 1, in the channel's order
  int lines = 0;   // the channel's line count
  QString address;
  // Failed, Stalled, Flagged, Switched, GaveUp: why the line was left (an
  // outcome's word, check::reasonKey).
  QString reason;
  int httpStatus = 0;
  MediaFlag flag = MediaFlag::Black;  // Flagged
  qint64 ms = 0;                      // Stalled, Flagged: how long it lasted
  int from = 0;                       // Switched: the line left
  QString previousAddress;            // Refreshed: the address it had
  bool byHand = false;                // Chosen
};

// "线路 2/5".
QString lineLabel(int number, int lines);
// "black", "silent", "frozen".
QString flagWord(MediaFlag flag);
// "kind" words of the report: "chosen", "started" …
QString kindWord(LineEvent::Kind kind);
// One line of Chinese telling the event, as the status line shows it:
// "线路 2/5 无法播放：…，切换到线路 3/5…".
QString describe(const LineEvent& event);

}  // namespace channels
