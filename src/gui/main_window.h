#pragma once

#include <QWidget>

#include "gui/twips.h"

class Control;
class Form;

// The engines' places in the media area, made by whoever knows the engines.
struct MediaViews {
  QWidget* mediaPlayer = nullptr;  // picture and control bar of WindowsMediaPlayer1
  QWidget* realPlayer = nullptr;   // picture of RealAudio1
  QWidget* browser = nullptr;      // page of WebBrowser1
};

// The main window: shows every control of the Form at its place and sends
// the user's actions to the models. Caption, size and visibility follow
// form1; closing it runs the Unload sequence.
class MainWindow : public QWidget {
  Q_OBJECT
 public:
  // Takes ownership of the media views.
  MainWindow(Form& form, const MediaViews& views);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  template <class Binding, class Widget, class Model>
  Widget* bind(Model& model, QWidget* parent);
  void attach(Control& model, QWidget* view);
  void followForm();

  Form& m_form;
  TwipsScale m_scale;
};
