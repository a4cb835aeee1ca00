#pragma once

#include <QString>

class Form;

namespace monitor {

// Reactions to the real player's reports (error, state change, and the
// three-number report).
void RealAudio1_ErrorEvent(Form& f, int severity, int code, int userCode, const QString& file,
                           const QString& userString, const QString& moreInfo);
void RealAudio1_StateChange(Form& f, int oldState, int newState);
void RealAudio1_ThreeNumberEvent(Form& f, int first, int second, int third);

}  // namespace monitor
