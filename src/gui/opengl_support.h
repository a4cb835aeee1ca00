#pragma once

// Whether this process's windows can show OpenGL drawing: an OpenGL context
// can be made, and the platform composes OpenGL widgets into its windows
// (offscreen and minimal cannot, even where they make a context).
bool windowsShowOpenGL();
