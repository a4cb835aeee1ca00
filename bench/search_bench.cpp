// The page scan of a large generated page, and how soon a stop takes effect.
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "form/form.h"
#include "app/wiring.h"
#include "fake_engines.h"
#include "test_host.h"

namespace {

constexpr int kDepth = 12;

// A page of entries inside kDepth nested elements, every second entry a
// media link, the others links to pages; about 100 characters per entry.
Document generatedPage(int entries) {
  QString content;
  QList<Document::Link> links;
  QStringList entryElements;
  for (int i = 0; i < entries; ++i) {
    const bool media = i % 2 == 0;
    const QString href = media ? QStringLiteral("http://media.example.cn/live/channel%1.asx").arg(i, 5, 10, QChar(u'0'))
                               : QStringLiteral("http://www.example.cn/news/page%1.html").arg(i, 5, 10, QChar(u'0'));
    const QString name = (media ? QStringLiteral("频道") : QStringLiteral("新闻")) + QString::number(i);
    const QString font = QStringLiteral("<font color=\"red\">") + name + QStringLiteral("</font>");
    const QString anchor = QStringLiteral("<a href=\"") + href + QStringLiteral("\">") + font + QStringLiteral("</a>");
    links << Document::Link{font, href};
    entryElements << anchor << font << name;
    content += QStringLiteral("<li>") + anchor + QStringLiteral("</li>\n");
  }
  Document d;
  d.links = links;
  QStringList levels;
  QString inner = content;
  for (int level = kDepth - 1; level >= 0; --level) {
    levels.prepend(inner);
    inner = QStringLiteral("<div class=\"level%1\">").arg(level) + inner + QStringLiteral("</div>");
  }
  d.elements = levels + entryElements;
  return d;
}

class TimingHost : public TestHost {
 public:
  void yield() override {
    if (m_sinceYield.isValid()) maxGapMs = std::max(maxGapMs, m_sinceYield.nsecsElapsed() / 1e6);
    TestHost::yield();
    m_sinceYield.restart();
  }
  void startMeasuring() {
    maxGapMs = 0;
    m_sinceYield.start();
  }
  double maxGapMs = 0;

 private:
  QElapsedTimer m_sinceYield;
};

struct SearchBench {
  SearchBench() { app::wire(f); }
  void reset() {
    for (ListControl* list : {&f.tvm, &f.dz1, &f.tvmx, &f.List1, &f.List2, &f.List3}) list->clear();
    f.crawl.record.clear();
    QFile::remove(f.path("tv_lib_ss_www.txt"));
    f.SearchState = kSearchRunning;
    f.Timer9.setEnabled(false);
  }
  QTemporaryDir dir;
  QStringList log;
  TimingHost host;
  FakeMediaPlayer wmp{log};
  FakeRealPlayer real{log};
  FakeBrowser web{log};
  Form f{host, wmp, real, web, dir.path()};
};

void DocumentScan(benchmark::State& state) {
  SearchBench b;
  const Document page = generatedPage(static_cast<int>(state.range(0)));
  qsizetype characters = 0;
  for (const QString& e : page.elements) characters += e.size();
  double maxGapMs = 0;
  for (auto _ : state) {
    state.PauseTiming();
    b.reset();
    b.host.startMeasuring();
    state.ResumeTiming();
    b.web.complete(QStringLiteral("http://www.example.cn/"), page);
    maxGapMs = std::max(maxGapMs, b.host.maxGapMs);
  }
  state.counters["stations"] = b.f.dz1.count();
  state.counters["pages"] = b.f.tvmx.count();
  state.counters["element_chars"] = static_cast<double>(characters);
  state.counters["max_ms_between_yields"] = maxGapMs;
}
BENCHMARK(DocumentScan)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

// The user clicks "停止" at the scan's first yield: the time from that
// click to the end of the scan.
void StopDuringScan(benchmark::State& state) {
  SearchBench b;
  const Document page = generatedPage(10000);
  QElapsedTimer sinceClick;
  for (auto _ : state) {
    state.PauseTiming();
    b.reset();
    b.host.post([&] {
      sinceClick.start();
      b.f.Command9.click();
    });
    state.ResumeTiming();
    b.web.complete(QStringLiteral("http://www.example.cn/"), page);
    state.counters["ms_from_click_to_stop"] = sinceClick.nsecsElapsed() / 1e6;
  }
}
BENCHMARK(StopDuringScan)->Unit(benchmark::kMillisecond);

}  // namespace
