#include "search/document_scan.h"

#include "form/form.h"
#include "search/address_finder.h"
#include "search/home_page.h"
#include "search/page_scan.h"

namespace search {

namespace {

// A link's name: the text in front of its first "</", after the last ">"
// before it, so a font tag around a channel name gives the name alone.
QString linkName(const QString& inner) {
  const qsizetype close = inner.indexOf(u"</");
  if (close < 0) return inner;
  const qsizetype tagEnd = QStringView(inner).first(close).lastIndexOf(u'>');
  return inner.mid(tagEnd + 1, close - tagEnd - 1);
}

bool scanLinks(Form& f, PageScan& scan, const QList<Document::Link>& links) {
  for (qsizetype i = 1; i < links.size(); ++i) {
    if (!scan.pace()) return false;
    QString address = links.at(i).href;
    if (const QString inner = scan.findMediaAddress(address); !inner.isEmpty()) address = inner;
    scan.addCandidate(linkName(links.at(i).innerHTML), address);
    if (f.tvmx.count() == 0) {
      f.form1.setHeight(kTallHeight);
      f.form1.setWidth(kWideWidth);
    }
  }
  return true;
}

// Nested elements hold the same links again; the duplicate tests of the
// candidates drop the repeats.
bool scanElements(PageScan& scan, const QStringList& elements) {
  for (const QString& inner : elements) {
    if (!scan.pace()) return false;
    FoldedText text(inner, closeTagSlot(scan.markers()) + 1);
    const QString address = scan.findMediaAddress(text, 0, text.size());
    if (address.isEmpty()) continue;
    if (address.contains(u'\n')) {
      scan.scanLines(text);
    } else {
      scan.scanText(text, 0, text.size());
    }
  }
  return true;
}

// What the page's own player loaded comes after the scan's finds, so their
// names and order stay as the page gives them.
void scanRequests(PageScan& scan, const QString& title, const QStringList& requests) {
  for (const QString& address : requests) scan.addRequested(title, address);
}

}  // namespace

void WebBrowser1_DocumentComplete(Form& f, const QString& url) {
  const bool blank = url.isEmpty() || url == u"http:///";
  f.WebBrowser1.setVisible(!blank);
  if (blank) return;
  // Copies: a page that loads while this one yields must not change them.
  const Document page = f.WebBrowser1->document();
  const QStringList requests = f.WebBrowser1->pageRequests();
  if (isSearchHomePage(url) || isSearchHomePage(page.sentTo)) return;
  PageScan scan(f, url);
  f.WebBrowser1->setElementFilter(scan.markers().starts.typedItems());
  if (!scanLinks(f, scan, page.links) || !scanElements(scan, page.elements)) return;
  scanRequests(scan, page.title, requests);
  f.Timer9.setEnabled(true);
}

}  // namespace search
