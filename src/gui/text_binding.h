#pragma once

#include "gui/control_binding.h"

class QPlainTextEdit;
class TextBox;

// A multi-line text box: the model's text, lines ended by CR LF, shown in a
// plain text editor; what the user types becomes the model's text.
class TextBoxBinding : public ControlBinding {
  Q_OBJECT
 public:
  TextBoxBinding(TextBox& model, QPlainTextEdit* editor, const TwipsScale& scale);
  void update() override;

 private:
  void userEdited();

  TextBox& m_text;
  QPlainTextEdit* m_editor;
  bool m_syncing = false;
};
