#pragma once

// The key code the window's KeyDown handlers expect for a Qt key (Enter 13,
// F11 122, letters and digits as their upper-case character), or 0 for a key
// without one.
int vbKeyCode(int qtKey);
