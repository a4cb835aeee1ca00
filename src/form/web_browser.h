#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

// A snapshot of a loaded top-level page.
struct Document {
  struct Link {
    QString innerHTML;
    QString href;  // the absolute target address, the link's string value
  };
  QList<Link> links;       // every <a> in document order
  QStringList elements;    // innerHTML of every element in document order
  QString title;
  // The address the browser was sent to for this page, before redirects.
  QString sentTo;
};

// The browser (WebBrowser1). DocumentComplete follows a finished top-level
// load, with document() then holding that page; a failed load or one that does
// not finish within the engine's time limit raises NavigateError.
class WebBrowser : public QObject {
  Q_OBJECT
 public:
  virtual void Navigate(const QString& url) = 0;
  virtual void Stop() = 0;
  virtual void Quit() = 0;
  virtual void setTheaterMode(bool on) = 0;
  virtual QString LocationURL() const = 0;
  virtual const Document& document() const = 0;
  // Elements whose text holds none of these (case-insensitive) may be left
  // out of document().elements: they can yield no address.
  virtual void setElementFilter(const QStringList& startMarkers) = 0;
  // Addresses the page shown has requested itself since it began loading
  // (media, XHR/fetch, objects, frames), in order, each once: what its
  // player really loads.
  virtual QStringList pageRequests() const = 0;

 Q_SIGNALS:
  void BeforeNavigate2(const QString& url);
  void NewWindow2(bool* cancel);
  void DocumentComplete(const QString& url);
  void FileDownload(bool* cancel);
  void NavigateError(const QString& url);
};
