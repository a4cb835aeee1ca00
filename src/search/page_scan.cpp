#include "search/page_scan.h"

#include "form/form.h"
#include "base/vb_text.h"
#include "playlists/station_files.h"
#include "playlists/network_address.h"
#include "playlists/playlist_builder.h"
#include "playlists/station_address.h"
#include "playlists/tidy_address.h"
#include "search/address_finder.h"

namespace search {

namespace {

const QString kUnknownName = QStringLiteral("未知");
const QString kMissingMarkers = QStringLiteral("关键字不能为空！！！");
// Found stations reach the file at least this often while a page is scanned.
constexpr qint64 kStationWriteMs = 1000;

// The crawler only loads web pages: other links must not make it open local
// files or run scripts.
bool isWebPage(const QString& address) {
  return address.startsWith(u"http://", Qt::CaseInsensitive) ||
         address.startsWith(u"https://", Qt::CaseInsensitive);
}

bool isPlaceholderName(const QString& name) {
  const QString lower = name.toLower();
  return lower.contains(u"object") || lower.contains(u'=') || lower.contains(kUnknownName);
}

// Servers that refuse other sites' players want the page a stream was found
// on as its Referer; a local page (a wrapper file) is no such page.
QString refererOf(const QString& page) {
  if (!isWebPage(page) || page.size() > playlists::StationAddress::kMaxSuffixLength / 2) return {};
  return page;
}

// A name as a station line holds it, by the import's rules: a line break
// would end the line and a comma the name.
QString lineName(const QString& name) {
  const QString tidied = playlists::tidyName(name);
  return tidied.isEmpty() ? kUnknownName : tidied;
}

}  // namespace

PageScan::PageScan(Form& f, const QString& page)
    : m_f(f), m_markers(f), m_found(f), m_referer(refererOf(page)) {
  m_slice.start();
}

PageScan::~PageScan() {
  m_f.crawl.record.flush();
  m_found.write();
}

bool PageScan::halted() const { return m_f.SearchState == kSearchHalted || m_f.terminated; }

bool PageScan::running() const { return m_f.SearchState == kSearchRunning && !m_f.terminated; }

bool PageScan::pace() {
  if (m_slice.elapsed() >= m_f.crawl.yieldSliceMs) {
    m_f.crawl.record.flush();
    if (m_found.msSinceWrite() >= kStationWriteMs) m_found.write();
    m_f.host.yield();
    // Others may have set the counters' captions meanwhile.
    m_shownCounts.fill(-1);
    m_slice.restart();
  }
  return !halted();
}

void PageScan::warnIfMarkersMissing() {
  if (m_warned || !m_markers.missing()) return;
  // Once per run: a message per item would stop the window thousands of times.
  m_warned = true;
  m_f.host.messageBox(kMissingMarkers, kApplicationTitle, MessageIcon::None);
}

QString PageScan::findMediaAddress(const QString& text) {
  FoldedText folded(text, closeTagSlot(m_markers) + 1);
  return findMediaAddress(folded, 0, folded.size());
}

QString PageScan::findMediaAddress(FoldedText& text, qsizetype begin, qsizetype end) {
  if (end <= begin) return {};
  warnIfMarkersMissing();
  return findAddress(text, m_markers, begin, end);
}

// Each address is named by the text in front of the first "</" after the
// next start marker, which pairs image links with their captions; the scan
// then goes on from that "</".
void PageScan::scanText(FoldedText& text, qsizetype begin, qsizetype end) {
  for (;;) {
    const QString address = findMediaAddress(text, begin, end);
    m_f.Label3.setCaption(address);
    if (address.isEmpty()) return;
    const qsizetype at = text.findExact(address, begin, end);
    if (at < 0) return;
    // The rest leaves out the character after the address (its closing quote).
    const qsizetype rest = qMin(at + address.size() + 1, end);
    const qsizetype next = findStartMarker(text, m_markers.starts, 0, rest + 1, end);
    if (next < 0) {
      addCandidate(kUnknownName, address);
      return;
    }
    const qsizetype close = text.find(closeTagSlot(m_markers), u"</", next, end);
    QString name;
    if (close >= 0) {
      const qsizetype tagEnd = text.findLast(u'>', next + 1, close);
      const qsizetype nameStart = tagEnd >= 0 ? tagEnd + 1 : next + 1;
      name = text.text().mid(nameStart, qMax<qsizetype>(0, close - nameStart));
    } else {
      name = text.text().mid(rest, end - rest);
    }
    if (vb::trim(name).isEmpty()) name = kUnknownName;
    addCandidate(name, address);
    // The next text starts at the "</", and it is the rest's length less the
    // "</" position less four characters long.
    const qsizetype nextEnd = end - 5;
    if (close < 0 || close + 1 >= nextEnd || !running()) return;
    m_f.Label3.setCaption(address);
    if (!pace()) return;
    begin = close;
    end = nextEnd;
  }
}

void PageScan::scanLines(FoldedText& text) {
  const QString& whole = text.text();
  qsizetype start = 0;
  qsizetype cr = whole.indexOf(u'\r');
  while (cr >= 0) {
    // The character before the carriage return is dropped; a carriage return
    // right at the start of a piece gives no piece at all.
    if (cr - start - 1 >= 0) scanText(text, start, cr - 1);
    start = cr + 1;
    cr = whole.indexOf(u'\r', start);
    m_f.Label3.setCaption(QString::number(start + 1));
    if (!pace()) return;
  }
  if (whole.size() - start - 1 >= 0) scanText(text, start, whole.size() - 1);
}

void PageScan::showCounters() {
  const std::array<int, 3> counts{m_f.List1.count(), m_f.tvmx.count(), m_f.List2.count()};
  // Most candidates of a page are repeats that change no count.
  if (counts == m_shownCounts) return;
  m_shownCounts = counts;
  m_f.Command10.setCaption(QString::number(counts[1]));
  m_f.Label1.setCaption(QStringLiteral("已搜索：%1     还剩：%2     list2：%3")
                            .arg(counts[0])
                            .arg(counts[1])
                            .arg(counts[2]));
}

void PageScan::addCandidate(QString name, QString address) {
  // Page source holds addresses HTML-escaped.
  address.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
  if (const QString inner = findMediaAddress(address); !inner.isEmpty()) address = inner;
  const int count0 = m_f.dz1.count();
  m_f.l.setCaption(QString::number(m_f.tvmx.count()));
  if (name.isEmpty() || address.isEmpty() || address.size() > playlists::kMaxAddressLength) return;
  m_f.Label3.setCaption(address);
  if (m_f.tvmx.count() > 0 && m_f.crawl.record.contains(address)) return;
  const QString folded = foldCase(address);
  const bool media = m_markers.isMedia(folded);
  QString suffix;
  if (vb::val(name) > 0) {
    name = QStringLiteral("tvm");
    suffix = QString::number(count0);
  }
  showCounters();
  if (!media) {
    queuePage(name, address);
    m_f.Label3.setCaption(name);
    return;
  }
  addStation(name + suffix, address, folded);
}

void PageScan::queuePage(const QString& name, const QString& address) {
  if (m_f.crawl.record.contains(address)) return;
  m_f.l.setCaption(QString::number(m_f.tvmx.count()));
  if (isWebPage(address)) {
    m_f.tvmx.addItem(address);
    m_f.List3.addItem(name);
  } else {
    m_f.List1.addItem(address);
  }
  m_f.crawl.record.append(address);
}

void PageScan::addStation(QString name, const QString& address, const QString& foldedAddress) {
  // A page must not make the engines open local files or internal protocols.
  if (!playlists::hasNetworkScheme(address)) return;
  if (m_f.crawl.stations.contains(address)) {
    m_f.dz1.setText(address);
    return;
  }
  if (indexOfMarker(foldedAddress, m_markers.dynamicMarker) >= 0 &&
      !m_markers.isTokenAddress(foldedAddress)) {
    m_f.l.setCaption(QString::number(m_f.List2.count()));
    // Nested elements repeat the address; the crawl loads it once.
    if (m_f.List2.indexOf(address) < 0) m_f.List2.addItem(address);
    return;
  }
  if (isPlaceholderName(name)) name = QStringLiteral("TVName") + QString::number(m_f.tvm.count());
  const QString inner = findMediaAddress(address);
  const QString final = inner.isEmpty() ? address : inner;
  if (playlists::hasNetworkScheme(final)) listStation(name, final);
}

void PageScan::addRequested(const QString& pageTitle, const QString& address) {
  if (address.size() > playlists::kMaxAddressLength || !playlists::hasNetworkScheme(address)) return;
  if (!m_markers.hasMediaType(foldCase(address))) return;
  // Found by the scan already, as a station or a dynamic address.
  if (m_f.crawl.stations.contains(address) || m_f.List2.indexOf(address) >= 0) return;
  const QString name = pageTitle.simplified();
  listStation(name.isEmpty() ? kUnknownName : name, address);
}

void PageScan::listStation(QString name, QString address) {
  if (playlists::hasControlCharacters(address)) return;
  // Kept as the page gives it, but a comma would end it in a station line;
  // header values are encoded by their own text form.
  playlists::StationAddress station = playlists::StationAddress::parse(address);
  station.bare = playlists::withEncodedCommas(station.bare);
  address = station.text();
  name = lineName(m_f.BrowserPlay == kBrowserShowsPage ? m_f.tvm.text() : name);
  if (!m_referer.isEmpty()) address = playlists::withHeader(address, "Referer", m_referer);
  if (m_f.BrowserPlay == kBrowserShowsPage) {
    // A wrapper page is showing: the find is shown, not listed.
    m_f.dz1.setText(address);
  } else {
    m_f.tvm.addItem(name);
    m_f.dz1.addItem(address);
  }
  m_found.add(name, address);
  const bool manual = m_f.Check2.checked();
  m_f.tvm.setEnabled(false);
  m_f.tvm.setText(name);
  m_f.tvm.setEnabled(true);
  m_f.Check2.setChecked(manual);
}

}  // namespace search
