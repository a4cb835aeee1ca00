#include "app/wiring.h"

#include "app/form.h"
#include "app/toggle_view.h"

namespace app {

namespace {

// Connects a signal of a model to a handler taking the Form.
template <class Sender, class Signal, class Handler>
void on(Form& f, Sender& sender, Signal signal, Handler handler) {
  QObject::connect(&sender, signal, &sender, [&f, handler](auto... args) { handler(f, args...); });
}

}  // namespace

void wire(Form& f) {
  // The view: a click on the panel or its two labels switches the view.
  on(f, f.Frame1, &Control::clicked, [](Form& g) { ToggleView(g, g.Frame1); });
  on(f, f.Label1, &Control::clicked, [](Form& g) { ToggleView(g, g.Label1); });
  on(f, f.Label3, &Control::clicked, [](Form& g) { ToggleView(g, g.Label3); });
}

}  // namespace app
