#include <gtest/gtest.h>

#include "channels/line_order.h"

namespace {

using channels::LineRecord;

const QDateTime kNow = QDateTime::fromSecsSinceEpoch(1800000000, Qt::UTC);

QDateTime hoursAgo(int hours) { return kNow.addSecs(-3600LL * hours); }

LineRecord working(int width, qint64 downloadBps, qint64 bitrate, int firstFrameMs,
                   bool flagged = false) {
  LineRecord r;
  r.checked = r.lastPlayed = true;
  r.lastSuccess = hoursAgo(1);
  r.width = width;
  r.height = width * 9 / 16;
  r.downloadBps = downloadBps;
  r.bitrate = bitrate;
  r.firstFrameMs = firstFrameMs;
  r.flagged = flagged;
  return r;
}

LineRecord failed(QDateTime lastFailure, QDateTime lastSuccess = {}) {
  LineRecord r;
  r.checked = true;
  r.lastFailure = lastFailure;
  r.lastSuccess = lastSuccess;
  return r;
}

// Each case: lines in list order, and the order expected with and without
// stale lines.
struct OrderCase {
  const char* what;
  QList<LineRecord> lines;
  QList<int> order;
  QList<int> orderWithStale;
};

TEST(ChannelLineOrder, RanksByWhatWasMeasured) {
  const LineRecord never;
  const OrderCase cases[] = {
      {"unflagged before flagged, whatever the picture",
       {working(1920, 0, 0, 100, true), working(640, 0, 0, 900)}, {1, 0}, {1, 0}},
      {"a download that keeps up before a larger picture that stutters",
       {working(1920, 1'000'000, 4'000'000, 100), working(640, 2'000'000, 1'000'000, 900)},
       {1, 0}, {1, 0}},
      {"unknown speed is not held against a line",
       {working(640, 0, 1'000'000, 100), working(1280, 0, 1'000'000, 100)}, {1, 0}, {1, 0}},
      {"then the larger picture, then the quicker start",
       {working(640, 0, 0, 100), working(1280, 0, 0, 900), working(1280, 0, 0, 300)},
       {2, 1, 0}, {2, 1, 0}},
      {"an unknown first frame counts as slowest",
       {working(640, 0, 0, 0), working(640, 0, 0, 5000)}, {1, 0}, {1, 0}},
      {"working, never checked, then a line that played today and failed just now",
       {failed(hoursAgo(0), hoursAgo(2)), never, working(640, 0, 0, 100)}, {2, 1, 0}, {2, 1, 0}},
      {"dead lines are left out unless asked for",
       {failed(hoursAgo(1)), failed(hoursAgo(48), hoursAgo(50)), working(640, 0, 0, 1)},
       {2}, {2, 1, 0}},
      {"ties keep list order", {never, never, never}, {0, 1, 2}, {0, 1, 2}},
  };
  for (const OrderCase& c : cases) {
    EXPECT_EQ(channels::orderLines(c.lines, kNow, false), c.order) << c.what;
    EXPECT_EQ(channels::orderLines(c.lines, kNow, true), c.orderWithStale) << c.what;
  }
}

}  // namespace
