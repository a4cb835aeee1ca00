#pragma once

class Form;

namespace app {

// Closes the program's active pop-up when its title names an update offer
// or a contact form (the players open such dialogs on their own).
void ClosePlayerPopup(Form& f);

}  // namespace app
