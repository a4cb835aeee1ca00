#pragma once

class Form;
class Control;

namespace app {

// A click on Frame1, Label1 or Label3 switches between the compact and the
// tall view; clicked names which of the three was clicked.
void ToggleView(Form& f, const Control& clicked);

}  // namespace app
