#include "gui/text_binding.h"

#include <QPlainTextEdit>

#include "base/control_models.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kLf = QStringLiteral("\n");

}  // namespace

TextBoxBinding::TextBoxBinding(TextBox& model, QPlainTextEdit* editor, const TwipsScale& scale)
    : ControlBinding(model, editor, scale), m_text(model), m_editor(editor) {
  connect(editor, &QPlainTextEdit::textChanged, this, &TextBoxBinding::userEdited);
  update();
}

void TextBoxBinding::update() {
  const QString shown = QString(m_text.text()).replace(kCrLf, kLf);
  if (m_editor->toPlainText() != shown) {
    m_syncing = true;
    m_editor->setPlainText(shown);
    m_syncing = false;
  }
  ControlBinding::update();
}

void TextBoxBinding::userEdited() {
  if (m_syncing) return;
  m_text.setText(m_editor->toPlainText().replace(kLf, kCrLf));
}
