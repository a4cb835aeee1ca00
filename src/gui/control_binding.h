#pragma once

#include <QObject>

class CheckBox;
class Control;
class QCheckBox;
class QLabel;
class QPushButton;
class QWidget;
class TwipsScale;
class WindowLayout;

// Keeps a widget in step with its control model (geometry, visibility,
// enabled state, tooltip, focus requests) and sends the user's focus changes
// and key presses on it to the model. The widget holds no state of its own
// that the model does not have.
class ControlBinding : public QObject {
  Q_OBJECT
 public:
  ControlBinding(Control& model, QWidget* widget, const TwipsScale& scale);

  Control& model() const { return m_model; }
  QWidget* widget() const { return m_widget; }
  // Pulls the model's state into the widget; kinds extend it.
  virtual void update();
  // Places the widget by the window's layout rather than at its twips alone.
  void setPlacement(const WindowLayout* layout, bool isMediaArea);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Control& m_model;
  QWidget* m_widget;
  const TwipsScale& m_scale;
  const WindowLayout* m_layout = nullptr;
  bool m_isMediaArea = false;
};

// A command button: caption, and a click.
class ButtonBinding : public ControlBinding {
  Q_OBJECT
 public:
  ButtonBinding(Control& model, QPushButton* button, const TwipsScale& scale);
  void update() override;
};

// A label or a panel: the caption of a label, and a mouse click on it.
class LabelBinding : public ControlBinding {
  Q_OBJECT
 public:
  LabelBinding(Control& model, QWidget* labelOrPanel, const TwipsScale& scale);
  void update() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// A check box: caption and tick follow the model; a click is the user's.
class CheckBoxBinding : public ControlBinding {
  Q_OBJECT
 public:
  CheckBoxBinding(CheckBox& model, QCheckBox* box, const TwipsScale& scale);
  void update() override;

 private:
  CheckBox& m_check;
  QCheckBox* m_box;
};
