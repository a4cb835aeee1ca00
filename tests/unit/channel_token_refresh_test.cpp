// Refreshing a line's token from its page: which lines, which find replaces
// them, the one browser that loads the pages, and the controller playing the
// fresh line.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "channels/line_switcher.h"
#include "channels/token_refresh.h"
#include "channels/token_refresher.h"
#include "fake_channel_player.h"
#include "fake_engines.h"
#include "form/marker_texts.h"
#include "history/health_db.h"
#include "history/line_key.h"
#include "search/page_finds.h"

namespace {

using namespace channels;

const QDateTime kStart = QDateTime::fromSecsSinceEpoch(1'800'000'000, Qt::UTC);
const QString kPage = QStringLiteral("http://tv.example/watch/cctv1.html");
const QString kStream = QStringLiteral("http://cdn.example:8080/live/cctv1.m3u8");

QString line(const QString& query) {
  return kStream + u'?' + query + QStringLiteral("|Referer=") + kPage;
}

TEST(TokenRefresh, TellsExpiryPageAndMendableFailures) {
  const struct {
    const char* address;
    qint64 expiry;  // Unix seconds; 0: none
  } expiries[] = {
      {"http://a/x.m3u8?exp=1700000000&sig=ab", 1700000000},
      {"http://a/x.m3u8?expires=1700000001", 1700000001},
      {"http://a/x.flv?e=1700000002&token=z", 1700000002},
      {"http://a/x.flv?t=1700000003000", 1700000003},
      {"http://a/x.flv?wsSecret=q&wsTime=1700000004", 1700000004},
      {"http://a/x.flv?txSecret=q&txTime=6553F100", 0x6553F100},
      {"http://a/x.mp4?t=12", 0},
      {"http://a/x.m3u8?exp=soon", 0},
      {"http://a/x.m3u8", 0},
      {"http://a/x.m3u8?token=1700000000", 0},
  };
  for (const auto& c : expiries) {
    SCOPED_TRACE(c.address);
    const auto expiry = tokenExpiry(QString::fromLatin1(c.address) + "|Referer=http://p/");
    EXPECT_EQ(expiry ? expiry->toSecsSinceEpoch() : 0, c.expiry);
  }
  EXPECT_TRUE(hasExpired(line("exp=1799999999"), kStart));
  EXPECT_FALSE(hasExpired(line("exp=1800000100"), kStart));
  EXPECT_FALSE(hasExpired(line("token=abc"), kStart));

  EXPECT_EQ(pageOf(line("token=abc")), kPage);
  EXPECT_EQ(pageOf(kStream), "");
  EXPECT_EQ(pageOf(kStream + "|Referer=javascript:alert(1)"), "");

  EXPECT_TRUE(mayMendFailure("forbidden", 403));
  EXPECT_TRUE(mayMendFailure("not_found", 0));
  EXPECT_TRUE(mayMendFailure("bad_media", 410));
  EXPECT_FALSE(mayMendFailure("refused", 0));
  EXPECT_FALSE(mayMendFailure("timed_out", 0));
}

TEST(TokenRefresh, TheFindOfTheSameStreamReplacesTheLine) {
  const QString old = line("token=old") + "&User-Agent=Box";
  const QString fresh = kStream + "?token=new&exp=1800000600";
  const struct {
    const char* what;
    QStringList finds;
    QString expected;
  } cases[] = {
      {"the same host, port and path with another query",
       {"http://other.example/ad.mp4", fresh, kStream + "?token=later"},
       playlists::StationAddress{fresh, playlists::StationAddress::parse(old).headers}.text()},
      {"a find with headers of its own keeps the line's", {fresh + "|Referer=http://elsewhere/"},
       playlists::StationAddress{fresh, playlists::StationAddress::parse(old).headers}.text()},
      {"the old address again is no refresh", {kStream + "?token=old"}, ""},
      {"another path", {"http://cdn.example:8080/live/cctv2.m3u8?token=new"}, ""},
      {"another port", {"http://cdn.example/live/cctv1.m3u8?token=new"}, ""},
      {"another host", {"http://cdn2.example:8080/live/cctv1.m3u8?token=new"}, ""},
      {"nothing found", {}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(freshLine(old, c.finds), c.expected);
  }
}

TEST(TokenRefresh, APageYieldsItsLinksElementsAndRequests) {
  Document page;
  page.links = {{"CCTV-1", "http://tv.example/play?u=http://cdn.example/a.mp3&amp;k=1"},
                {"home", "http://tv.example/"}};
  page.elements = {
      "<script>var a='http://cdn.example/one.m3u8?t=1';var b='http://cdn.example/two.mp3';</script>",
      "no address here"};
  const QStringList requests = {"http://cdn.example/live.m3u8?token=x", "http://tv.example/"};
  EXPECT_EQ(search::pageAddresses(search::MarkerLists(MarkerTexts{}), page, requests),
            (QStringList{"http://cdn.example/a.mp3", "http://tv.example/",
                         "http://cdn.example/one.m3u8?t=1", "http://cdn.example/two.mp3",
                         "http://cdn.example/live.m3u8?token=x"}));
}

// Pages served by fake browsers on the virtual clock: each page loads
// 300 ms after it was asked for and holds what the test put there. A
// browser lives as long as the refresher keeps it.
struct FakeSite {
  struct Page {
    Document doc;
    QStringList lateRequests;  // what the page's player asks for 500 ms after the load
  };
  explicit FakeSite(TestHost& h) : host(h) {}

  std::unique_ptr<WebBrowser> browser() {
    auto b = std::make_unique<Browser>(*this);
    b->onNavigate = [this, raw = b.get()](const QString& url) {
      navigations << url;
      host.post([this, raw, url] {
        if (!pages.contains(url)) return raw->raiseNavigateError(url);
        raw->complete(url, pages[url].doc);
        host.post([raw, late = pages[url].lateRequests] { raw->requests = late; }, 500);
      }, 300);
    };
    return b;
  }

  class Browser : public FakeBrowser {
   public:
    explicit Browser(FakeSite& s) : FakeBrowser(s.log), site(s) { site.mostAlive = std::max(site.mostAlive, ++site.alive); }
    ~Browser() override { --site.alive; }
    FakeSite& site;
  };

  TestHost& host;
  QHash<QString, Page> pages;
  QStringList navigations;
  QStringList log;
  int alive = 0;
  int mostAlive = 0;
};

Document pageWith(const QString& address) {
  Document d;
  d.elements = {"<video src=\"" + address + "\"></video>"};
  return d;
}

struct RefreshRig {
  QDateTime now() const { return kStart.addMSecs(host.now()); }
  TestHost host;
  FakeSite site{host};
  TokenRefresher refresher{[this] { return site.browser(); }, search::MarkerLists(MarkerTexts{}),
                           host, [this] { return now(); }};
};

TEST(TokenRefresh, OneBrowserLoadsThePagesInTurnAtMostOnceAMinutePerLine) {
  RefreshRig rig;
  const QString page2 = QStringLiteral("http://tv.example/watch/cctv2.html");
  const QString stream2 = QStringLiteral("http://cdn.example:8080/live/cctv2.m3u8");
  rig.site.pages[kPage] = {pageWith(kStream + "?token=new"), {}};
  // The second page's player asks for the stream only after the page has loaded.
  rig.site.pages[page2] = {Document{}, {stream2 + "?token=fresh"}};
  QStringList results;
  const QString first = line("token=old");
  const QString second = stream2 + "?token=old|Referer=" + page2;
  const QString third = QStringLiteral("http://cdn.example/gone.m3u8?k=1|Referer=http://tv.example/gone.html");
  ASSERT_TRUE(rig.refresher.mayRefresh(first));
  for (const QString& l : {first, second, third})
    rig.refresher.refresh(l, [&results](const QString& fresh) { results << fresh; });
  EXPECT_TRUE(results.isEmpty());
  rig.host.advance(10'000);

  EXPECT_EQ(results, (QStringList{kStream + "?token=new|Referer=" + kPage,
                                  stream2 + "?token=fresh|Referer=" + page2, ""}));
  EXPECT_EQ(rig.site.navigations, (QStringList{kPage, page2, "http://tv.example/gone.html"}));
  EXPECT_EQ(rig.site.mostAlive, 1);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(rig.site.alive, 0);

  EXPECT_FALSE(rig.refresher.mayRefresh(first));
  EXPECT_FALSE(rig.refresher.mayRefresh(kStream));
  rig.host.advance(TokenRefresher::kLineGapMs);
  EXPECT_TRUE(rig.refresher.mayRefresh(first));
}

TEST(TokenRefresh, APageThatNeverLoadsIsGivenUp) {
  RefreshRig rig;
  rig.site.pages[kPage] = {pageWith(kStream + "?token=new"), {}};
  // A browser that never answers.
  auto silent = [&rig] {
    auto b = rig.site.browser();
    static_cast<FakeBrowser*>(b.get())->onNavigate = nullptr;
    return b;
  };
  TokenRefresher refresher{silent, search::MarkerLists(MarkerTexts{}), rig.host,
                           [&rig] { return rig.now(); }};
  QStringList results;
  refresher.refresh(line("token=old"), [&results](const QString& fresh) { results << fresh; });
  rig.host.advance(TokenRefresher::kLimitMs - 1000);
  EXPECT_TRUE(results.isEmpty());
  rig.host.advance(2000);
  EXPECT_EQ(results, QStringList{""});
}

// The controller with a refresher: an expired line is refreshed before it
// plays, a forbidden one after it failed, and one whose page gives nothing
// makes way for the next line.
TEST(TokenRefresh, TheControllerPlaysTheFreshLine) {
  RefreshRig rig;
  QTemporaryDir dir;
  history::HealthDb db{[&rig] { return rig.now(); }};
  ASSERT_TRUE(db.open(dir.path()).ok);
  FakeChannelPlayer player{rig.host};
  LineSwitcher switcher{player, rig.host, db, [&rig] { return rig.now(); }};
  switcher.setRefresher(&rig.refresher);
  QStringList events;
  QObject::connect(&switcher, &LineSwitcher::event, [&](const LineEvent& e) {
    events << kindWord(e.kind) + u' ' + QString::number(e.number) + u' ' +
                  playlists::bareAddress(e.address).section(u'/', -1);
  });

  const QString expired = line("exp=1799999000&sig=old");
  const QString fresh = kStream + "?exp=1800000600&sig=new";
  rig.site.pages[kPage] = {pageWith(fresh), {}};
  switcher.playChannel({{"CCTV-1", expired, {}}});
  rig.host.advance(2000);
  EXPECT_EQ(events, (QStringList{"chosen 1 cctv1.m3u8?exp=1799999000&sig=old",
                                 "refreshed 1 cctv1.m3u8?exp=1800000600&sig=new",
                                 "started 1 cctv1.m3u8?exp=1800000600&sig=new"}));
  EXPECT_EQ(player.played, QStringList{fresh + "|Referer=" + kPage});
  const auto verdicts = db.verdicts(history::lineKey(fresh + "|Referer=" + kPage));
  ASSERT_FALSE(verdicts.isEmpty());
  EXPECT_EQ(verdicts.first().outcome, history::outcome::kRefresh);

  // Refused with 403: refreshed once; refused again within the minute: the
  // next line. A page that gives nothing leaves the line as it was.
  events.clear();
  player.played.clear();
  rig.host.advance(TokenRefresher::kLineGapMs);
  const QString opaque = line("token=old");
  const QString other = QStringLiteral("http://other.example/cctv1.mp3");
  FakeLine refused;
  refused.startAfterMs = -1;
  refused.failAfterMs = 100;
  refused.failReason = QStringLiteral("forbidden");
  refused.failStatus = 403;
  player.lines.insert(opaque, refused);
  player.lines.insert(kStream + "?token=new|Referer=" + kPage, refused);
  rig.site.pages[kPage] = {pageWith(kStream + "?token=new"), {}};
  switcher.playChannel({{"CCTV-1", opaque, {}}, {"CCTV-1", other, {}}});
  rig.host.advance(5000);
  EXPECT_EQ(events, (QStringList{"chosen 1 cctv1.m3u8?token=old", "failed 1 cctv1.m3u8?token=old",
                                 "refreshed 1 cctv1.m3u8?token=new",
                                 "failed 1 cctv1.m3u8?token=new", "switched 2 cctv1.mp3",
                                 "started 2 cctv1.mp3"}));
  EXPECT_EQ(switcher.lines().first().address, kStream + "?token=new|Referer=" + kPage);
}

}  // namespace
