#pragma once

#include <QElapsedTimer>
#include <QString>
#include <array>

#include "search/folded_text.h"
#include "search/marker_lists.h"
#include "search/scanned_stations.h"

class Form;

namespace search {

// One run of the page scan: reads the marker boxes once, finds addresses in
// texts, sorts the candidates into the lists, and paces itself so that the
// window stays responsive and a stop takes effect at the next item. Found
// stations and the address record reach their file and box when the run
// yields and when it ends.
class PageScan {
 public:
  // page: the address of the page scanned, the Referer of its finds.
  PageScan(Form& f, const QString& page);
  ~PageScan();
  PageScan(const PageScan&) = delete;
  PageScan& operator=(const PageScan&) = delete;

  const MarkerLists& markers() const { return m_markers; }

  // The first media address of a text, or "".
  QString findMediaAddress(const QString& text);
  QString findMediaAddress(FoldedText& text, qsizetype begin, qsizetype end);
  // Every address of the window [begin, end) in turn, each with its name.
  void scanText(FoldedText& text, qsizetype begin, qsizetype end);
  // The text cut at carriage returns, each piece scanned.
  void scanLines(FoldedText& text);
  // Sorts one candidate into the station lists, the dynamic-address queue,
  // the page queue or List1.
  void addCandidate(QString name, QString address);
  // An address the page requested itself: a station, named by the page's
  // title, when it holds a media type and the scan has not found it.
  void addRequested(const QString& pageTitle, const QString& address);

  // Called between items: yields once a time slice is used up. False once
  // the user has stopped the search or the program has ended.
  bool pace();

 private:
  bool halted() const;
  bool running() const;
  void warnIfMarkersMissing();
  void queuePage(const QString& name, const QString& address);
  void addStation(QString name, const QString& address, const QString& foldedAddress);
  // Adds a found stream, with the page as its Referer, to the lists and the
  // found-stations file.
  void listStation(QString name, QString address);
  void showCounters();

  Form& m_f;
  MarkerLists m_markers;
  ScannedStationBatch m_found;
  QElapsedTimer m_slice;
  QString m_referer;
  bool m_warned = false;
  std::array<int, 3> m_shownCounts{-1, -1, -1};
};

}  // namespace search
