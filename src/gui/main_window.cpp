#include "gui/main_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include "app/form.h"
#include "app/startup.h"
#include "gui/control_binding.h"
#include "gui/list_binding.h"
#include "gui/text_binding.h"

namespace {

QFrame* panel(QWidget* parent) {
  auto* frame = new QFrame(parent);
  frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
  return frame;
}

QPlainTextEdit* addressRecord(QWidget* parent) {
  auto* editor = new QPlainTextEdit(parent);
  editor->setLineWrapMode(QPlainTextEdit::NoWrap);
  editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  return editor;
}

}  // namespace

template <class Binding, class Widget, class Model>
Widget* MainWindow::bind(Model& model, QWidget* parent) {
  auto* widget = new Widget(parent);
  (new Binding(model, widget, m_scale))->update();
  return widget;
}

void MainWindow::attach(Control& model, QWidget* view) {
  view->setParent(this);
  (new ControlBinding(model, view, m_scale))->update();
}

MainWindow::MainWindow(Form& form, const MediaViews& views)
    : m_form(form), m_scale(TwipsScale::forScreen(screen())) {
  QFont font = this->font();
  font.setPointSize(9);
  setFont(font);

  // Created bottom to top: the media area lies under the panel, and the name
  // and address boxes and the button row lie over the panel.
  attach(form.WindowsMediaPlayer1, views.mediaPlayer);
  attach(form.RealAudio1, views.realPlayer);
  attach(form.WebBrowser1, views.browser);

  QFrame* frame = panel(this);
  (new LabelBinding(form.Frame1, frame, m_scale))->update();
  bind<LabelBinding, QLabel>(form.Label1, frame);
  bind<LabelBinding, QLabel>(form.Label3, frame);
  bind<ButtonBinding, QPushButton>(form.Command18, frame);
  bind<ButtonBinding, QPushButton>(form.Command17, frame);
  bind<ButtonBinding, QPushButton>(form.Command16, frame);
  bind<CheckBoxBinding, QCheckBox>(form.Check2, frame);
  bind<CheckBoxBinding, QCheckBox>(form.Check3, frame);
  bind<ComboBoxBinding, QComboBox>(form.Combo1, frame);

  bind<ComboBoxBinding, QComboBox>(form.tvm, this);
  for (Button* b : {&form.Command2, &form.Command14, &form.Command9, &form.Command4,
                    &form.Command5, &form.Command12, &form.Command10, &form.Command3})
    bind<ButtonBinding, QPushButton>(*b, this);
  bind<ComboBoxBinding, QComboBox>(form.dz1, this);
  (new TextBoxBinding(form.Text1, addressRecord(this), m_scale))->update();
  bind<LabelBinding, QLabel>(form.l, this);
  bind<LabelBinding, QLabel>(form.Label2, this);
  bind<LabelBinding, QLabel>(form.Label4, this);
  bind<ListBoxBinding, QListView>(form.List3, this);

  connect(&form.form1, &Control::changed, this, &MainWindow::followForm);
  followForm();
}

void MainWindow::followForm() {
  const Control& window = m_form.form1;
  setWindowTitle(window.caption());
  setFixedSize(m_scale.toPixels(window.width()), m_scale.toPixels(window.height()));
  setVisible(window.visible());
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!m_form.terminated) app::Form_Unload(m_form);
  event->accept();
}
