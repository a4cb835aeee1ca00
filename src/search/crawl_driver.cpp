#include "search/crawl_driver.h"

#include "form/form.h"
#include "library/found_list.h"
#include "library/station_list.h"
#include "playback/play_address.h"
#include "playback/position_files.h"
#include "library/temp_entries.h"
#include "search/home_page.h"
#include "search/marker_lists.h"

namespace search {

namespace {

constexpr int kCrawlEndWidth = 8430;
constexpr int kSearchBrowserHeight = 5000;
const QString kIdleCaption = QStringLiteral("搜台");
const QString kSearchStartedCaption = QStringLiteral("网上");
const QString kContinueCaption = QStringLiteral("继续");

// Mail links, the home page and empty entries are never loaded; nor is
// anything but a web page or a stream (no local files, no scripts).
bool isUnusableHead(const QString& head) {
  static const char16_t* const kLoadable[] = {u"http://", u"https://", u"mms://", u"rtsp://"};
  if (head.contains(u'@') || isSearchHomePage(head) || head.isEmpty()) return true;
  for (const char16_t* scheme : kLoadable)
    if (head.startsWith(QStringView(scheme), Qt::CaseInsensitive)) return false;
  return true;
}

void takeHead(ListControl& queue, ListControl* names) {
  queue.removeItem(0);
  if (names) names->removeItem(0);
}

void showBrowserOnly(Form& f) {
  f.RealAudio1.setVisible(false);
  f.WindowsMediaPlayer1.setVisible(false);
  f.WebBrowser1.setVisible(true);
}

void loadClicked(Form& f, const ListControl& list) {
  if (f.Check2.checked()) {
    f.WebBrowser1.setVisible(true);
    if (!isUnusableHead(list.text())) NavigateBrowser(f, list.text());
  } else {
    CrawlStep(f);
  }
}

// A stopped web search leaves the window idle, its lists holding the station
// files as at start-up (its finds are in tv_lib_ss_www.txt).
void showIdle(Form& f) {
  f.Command17.setCaption(kWebSearchCaption);
  f.Label1.setCaption(QString());
  library::ReloadAllStationLists(f);
  library::ListTempEntries(f);
  const int index = f.StationIndex >= 0 && f.StationIndex < f.tvm.count() ? f.StationIndex : 0;
  f.tvm.setText(f.tvm.item(index));
  f.dz1.setText(f.dz1.item(index));
}

}  // namespace

void NavigateBrowser(Form& f, const QString& url) {
  f.WebBrowser1->setElementFilter(MarkerList(f.Text4.text()).typedItems());
  f.WebBrowser1->Navigate(url);
}

void StartWebSearch(Form& f) {
  showBrowserOnly(f);
  playback::StopAll(f);
  f.SearchState = kSearchRunning;
  f.Timer5.setEnabled(false);
  // A typed name of a known station means automatic mode, any other text manual.
  if (f.tvm.count() > 0) f.Check2.setChecked(f.tvm.indexOf(f.tvm.text()) < 0);
  f.WebBrowser1.setVisible(true);
  f.Command17.setCaption(kSearchStartedCaption);
  f.Text2.setText(QString());
  f.tvmx.setText(QString());
  f.WebBrowser1.setHeight(kSearchBrowserHeight);
  f.WindowsMediaPlayer1.setVisible(false);
  f.WebBrowser1.setVisible(true);
  f.Command14.setEnabled(false);
  if (f.Check2.checked() && !f.tvm.text().isEmpty()) {
    if (f.WebBrowser1.visible()) NavigateBrowser(f, f.tvm.text());
  } else if (f.WebBrowser1.visible()) {
    NavigateBrowser(f, kSearchHomePage);
  }
  for (ListControl* list : {&f.tvmx, &f.tvm, &f.dz1, &f.List1, &f.List2, &f.List3}) list->clear();
  f.crawl.record.forgetAddresses();
  f.WebBrowser1.setVisible(true);
  f.Label1.setCaption(QStringLiteral("正在搜索，请稍后。。。。"));
  f.StopFlag = false;
}

void Timer9_Timer(Form& f) {
  f.Timer9.setEnabled(false);
  if (f.tvmx.count() == 0) return;
  if (f.WebBrowser1->LocationURL().isEmpty()) return;
  CrawlStep(f);
}

void CrawlStep(Form& f) {
  if (!f.yield()) return;
  f.crawl.record.flush();
  // The record loses as many characters from its front as the next page's
  // address has, less one.
  const qsizetype keep = f.Text1.text().size() - f.tvmx.item(0).size() + 1;
  if (keep >= 0) f.crawl.record.trimFront(f.Text1.text().size() - keep);
  if (f.List2.count() > 0) {
    VisitQueueHead(f, f.List2, nullptr);
  } else {
    VisitQueueHead(f, f.tvmx, &f.List3);
  }
}

void VisitQueueHead(Form& f, ListControl& queue, ListControl* names) {
  if (!f.yield()) return;
  if (queue.count() == 0) {
    f.Command10.setCaption(kIdleCaption);
    f.form1.setWidth(kCrawlEndWidth);
    return;
  }
  if (f.tvm.text().toLower().contains(u"open-")) {
    f.form1.setWidth(kCompactWidth);
    return;
  }
  f.form1.setWidth(kWideWidth);
  while (isUnusableHead(queue.item(0))) {
    if (queue.count() == 0) {
      playback::StopAll(f);
      return;
    }
    f.List1.addItem(queue.item(0));
    takeHead(queue, names);
  }
  f.Command10.setCaption(QString::number(queue.count()));
  if (!f.yield()) return;
  if (queue.count() == 0) return;
  const QString head = queue.item(0);
  if (!f.Check2.checked() && f.WebBrowser1.visible()) {
    f.WebBrowser1->Stop();
    NavigateBrowser(f, head);
    f.Label4.setCaption(head);
  }
  f.List1.addItem(head);
  takeHead(queue, names);
}

void List2_Click(Form& f) { loadClicked(f, f.List2); }

void tvmx_Click(Form& f) { loadClicked(f, f.tvmx); }

void List3_Click(Form& f) {
  playback::StopAll(f);
  f.SearchState = kSearchRunning;
  showBrowserOnly(f);
  f.Check2.setChecked(false);
  // The crawl goes on with the entry just above the clicked one.
  for (int k = f.List3.listIndex(); k > 1; --k) takeHead(f.List3, &f.tvmx);
  CrawlStep(f);
}

void StopSearch(Form& f) {
  f.SearchState = kSearchHalted;
  if (f.RunMode == kAutomaticRun) library::ListFoundStations(f);
  if (f.terminated) return;
  if (f.Command14.enabled()) f.Command14.setCaption(kContinueCaption);
  playback::StopAll(f);
  if (f.Command14.caption() == kContinueCaption) f.Command14.setEnabled(true);
  if (f.RunMode == kAutomaticRun) playback::SaveRunPosition(f, f.StationIndex);
  playback::SaveLastPlayed(f, f.StationIndex);
  f.RunMode = kNormalRun;
  if (f.Command17.caption() == kSearchStartedCaption) {
    f.Command10.setCaption(kIdleCaption);
    f.form1.setWidth(kCrawlEndWidth);
    showIdle(f);
  }
}

}  // namespace search
