#include <gtest/gtest.h>

#include "gui/window_layout.h"

namespace {

// A window designed 560 x 430 with its media area at the top, 555 x 310.
WindowLayout layoutAt(QSize actual, bool fullScreen = false) {
  WindowLayout layout;
  layout.setDesignSize({560, 430});
  layout.setMediaArea({0, 0, 555, 310});
  layout.setActualSize(actual);
  layout.setFullScreen(fullScreen);
  return layout;
}

TEST(WindowLayoutTest, MediaAreaTakesTheExtraRoom) {
  const QRect media(0, 0, 555, 310);
  const QRect below(16, 340, 300, 20);
  const QRect right(584, 40, 345, 350);  // the column seen when widened
  const struct {
    const char* what;
    QSize actual;
    bool fullScreen;
    QRect control;
    bool isMedia;
    QRect expected;
  } cases[] = {
      {"design size: as designed", {560, 430}, false, media, true, media},
      {"design size: below", {560, 430}, false, below, false, below},
      {"larger: media grows", {760, 530}, false, media, true, {0, 0, 755, 410}},
      {"larger: below moves down", {760, 530}, false, below, false, below.translated(0, 100)},
      {"larger: right moves right", {760, 530}, false, right, false, right.translated(200, 0)},
      {"smaller: never shrinks", {500, 400}, false, media, true, media},
      {"full screen: media fills", {1280, 1024}, true, media, true, {0, 0, 1280, 1024}},
      {"full screen: others out of sight", {1280, 1024}, true, below, false,
       below.translated(0, 1024)},
  };
  for (const auto& c : cases) {
    const QRect placed = layoutAt(c.actual, c.fullScreen).place(c.control, c.isMedia);
    EXPECT_EQ(placed, c.expected) << c.what;
    if (c.fullScreen && !c.isMedia) {
      EXPECT_FALSE(placed.intersects(QRect(QPoint(), c.actual))) << c.what;
    }
  }
}

TEST(WindowLayoutTest, ASidePaneKeepsItsWidth) {
  const QRect media(0, 0, 555, 310);
  const QRect right(584, 40, 345, 350);
  WindowLayout layout = layoutAt({760, 530});
  layout.setSidePane(200);
  EXPECT_EQ(layout.place(media, true), QRect(0, 0, 555, 410));
  EXPECT_EQ(layout.place(right, false), right);
  EXPECT_EQ(layout.sidePanePlace(), QRect(560, 0, 200, 530));
  layout.setActualSize({860, 530});
  EXPECT_EQ(layout.place(media, true), QRect(0, 0, 655, 410));
  EXPECT_EQ(layout.sidePanePlace(), QRect(660, 0, 200, 530));
}

}  // namespace
