#include "gui/control_binding.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "base/control_models.h"
#include "gui/plain_text.h"
#include "gui/twips.h"
#include "gui/vb_key_codes.h"
#include "gui/window_layout.h"
#include "gui/view_tooltips.h"

namespace {

// Focus moving to a drop-down or to another program is no focus change of
// the window's controls.
bool isControlFocusChange(const QFocusEvent* e) {
  return e->reason() != Qt::PopupFocusReason && e->reason() != Qt::ActiveWindowFocusReason;
}

}  // namespace

ControlBinding::ControlBinding(Control& model, QWidget* widget, const TwipsScale& scale)
    : QObject(widget), m_model(model), m_widget(widget), m_scale(scale) {
  widget->setObjectName(model.name());
  widget->installEventFilter(this);
  connect(&model, &Control::changed, this, &ControlBinding::update);
  connect(&model, &Control::focusWanted, this, [this] { m_widget->setFocus(Qt::OtherFocusReason); });
}

void ControlBinding::setPlacement(const WindowLayout* layout, bool isMediaArea) {
  m_layout = layout;
  m_isMediaArea = isMediaArea;
  update();
}

void ControlBinding::update() {
  const QRect designed = m_scale.toPixels(m_model);
  m_widget->setGeometry(m_layout ? m_layout->place(designed, m_isMediaArea) : designed);
  m_widget->setEnabled(m_model.enabled());
  // The procedures' own tooltips come first.
  const QString tip = m_model.toolTip();
  m_widget->setToolTip(tip.isEmpty() ? viewToolTip(m_model.name()) : plainToolTip(tip));
  m_widget->setVisible(m_model.visible());
}

bool ControlBinding::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::FocusIn:
      if (isControlFocusChange(static_cast<QFocusEvent*>(event))) m_model.gotFocus();
      break;
    case QEvent::FocusOut:
      if (isControlFocusChange(static_cast<QFocusEvent*>(event))) m_model.lostFocus();
      break;
    case QEvent::KeyPress:
      if (const int code = vbKeyCode(static_cast<QKeyEvent*>(event)->key())) m_model.keyDown(code);
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

ButtonBinding::ButtonBinding(Control& model, QPushButton* button, const TwipsScale& scale)
    : ControlBinding(model, button, scale) {
  connect(button, &QPushButton::clicked, &model, &Control::click);
  update();
}

void ButtonBinding::update() {
  static_cast<QPushButton*>(widget())->setText(model().caption());
  ControlBinding::update();
}

LabelBinding::LabelBinding(Control& model, QWidget* labelOrPanel, const TwipsScale& scale)
    : ControlBinding(model, labelOrPanel, scale) {
  // Captions show found names and addresses.
  if (auto* label = qobject_cast<QLabel*>(labelOrPanel)) label->setTextFormat(Qt::PlainText);
  update();
}

void LabelBinding::update() {
  if (auto* label = qobject_cast<QLabel*>(widget())) label->setText(model().caption());
  ControlBinding::update();
}

bool LabelBinding::eventFilter(QObject* watched, QEvent* event) {
  // Taken here so that a click on a label inside the panel is not also the
  // panel's click.
  if (event->type() == QEvent::MouseButtonPress) return true;
  if (event->type() == QEvent::MouseButtonRelease) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton && widget()->rect().contains(mouse->position().toPoint()))
      model().click();
    return true;
  }
  return ControlBinding::eventFilter(watched, event);
}

CheckBoxBinding::CheckBoxBinding(CheckBox& model, QCheckBox* box, const TwipsScale& scale)
    : ControlBinding(model, box, scale), m_check(model), m_box(box) {
  connect(box, &QCheckBox::clicked, &model, &CheckBox::userClick);
  update();
}

void CheckBoxBinding::update() {
  m_box->setText(m_check.caption());
  m_box->setChecked(m_check.checked());
  ControlBinding::update();
}
