#pragma once

class Form;

namespace app {

// Connects every control and engine event of the window to its handler.
void wire(Form& f);

}  // namespace app
