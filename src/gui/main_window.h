#pragma once

#include <QList>
#include <QTimer>
#include <QWidget>

#include "gui/twips.h"
#include "gui/window_layout.h"

class ChannelPanel;
class Control;
class ControlBinding;
class Form;
class MediaControlBar;
class PictureArea;
class QToolButton;
class StationTools;
class WindowKeys;

// The engines' places in the media area, made by whoever knows the engines.
struct MediaViews {
  QWidget* mediaPlayer = nullptr;  // picture and control bar of WindowsMediaPlayer1
  QWidget* realPlayer = nullptr;   // picture of RealAudio1
  QWidget* browser = nullptr;      // page of WebBrowser1
  // Parts of the views above the window works with, when there are engines.
  MediaControlBar* controlBar = nullptr;
  PictureArea* mediaPicture = nullptr;
  PictureArea* realPicture = nullptr;
};

// The main window: shows every control of the Form at its place and sends
// the user's actions to the models. Caption, size and visibility follow
// form1; the user may make it larger (the media area takes the room) or
// full screen; closing it runs the Unload sequence. The channel panel, closed
// at first, opens at its right edge with a button beside the name box or F4
// and makes the window that much wider.
class MainWindow : public QWidget {
  Q_OBJECT
 public:
  // Takes ownership of the media views.
  MainWindow(Form& form, const MediaViews& views);

  bool isVideoFullScreen() const { return m_layout.fullScreen(); }
  void setVideoFullScreen(bool on);
  bool isChannelPanelOpen() const { return m_layout.sidePane() > 0; }
  void setChannelPanelOpen(bool open);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  template <class Binding, class Widget, class Model>
  Binding* bind(Model& model, QWidget* parent);
  void attach(Control& model, QWidget* view);
  void place(ControlBinding* binding, bool isMediaArea);
  void followForm();
  void relayout();
  void addChannelPanel();
  // The window's size for a size of the procedures, the open panel beside it.
  QSize withSidePane(QSize design) const;
  void connectPicture(PictureArea* picture);
  void revealControlBar();
  // Files dragged over the window, a text box included, are the window's.
  bool takeDrag(QEvent* event);

  Form& m_form;
  MediaViews m_views;
  TwipsScale m_scale;
  WindowLayout m_layout;
  QList<ControlBinding*> m_placed;
  WindowKeys* m_keys = nullptr;
  StationTools* m_tools = nullptr;
  ChannelPanel* m_channels = nullptr;
  QToolButton* m_channelsButton = nullptr;
  QTimer m_barTimer;
  bool m_wasMaximized = false;
  QRect m_normalGeometry;  // the window's place before full screen
};
