#pragma once

class Form;

namespace playback {

// The key code of Enter in the KeyDown handlers.
inline constexpr int kEnterKey = 13;

// The play, step and open buttons.
void Command2_Click(Form& f);
void Command4_Click(Form& f);
void Command5_Click(Form& f);
void Command18_Click(Form& f);

// Choosing and typing in the name and address boxes.
void tvm_Click(Form& f);
void dz1_Click(Form& f);
void tvm_KeyDown(Form& f, int keyCode);
void tvm_GotFocus(Form& f);
void tvm_LostFocus(Form& f);
void dz1_GotFocus(Form& f);

// Tick of Timer10 (one-shot): plays the next entry unless a scan runs.
void Timer10_Timer(Form& f);
// Plays the entry after the one named in the name box.
void PlayNextEntry(Form& f);

}  // namespace playback
