#pragma once

#include <QWidget>

class Control;
class QWebEngineView;
class WebEngineBrowser;

// The browser's place in the window: its page in a web view. The place
// itself follows the WebBrowser1 model; in theater mode the page takes the
// whole media area (the players' place) so that it is laid out for what
// shows above the panel.
class BrowserView : public QWidget {
  Q_OBJECT
 public:
  BrowserView(WebEngineBrowser& browser, const Control& mediaArea, QWidget* parent = nullptr);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void layoutPage();

  WebEngineBrowser& m_browser;
  const Control& m_mediaArea;
  QWebEngineView* m_view;
};
