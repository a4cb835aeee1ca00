#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QTemporaryDir>

#include "event_loop_wait.h"
#include "gui/channel_tree_model.h"
#include "gui/logo_cache.h"
#include "local_http_server.h"
#include "png_bytes.h"

namespace {

using channels::TreeChannel;
using channels::TreeGroup;
using channels::TreeLine;

TreeLine line(int entry, const QString& name) {
  TreeLine l;
  l.entry = entry;
  l.station = {name, QStringLiteral("http://127.0.0.1:9/%1").arg(entry), QString(), {}};
  return l;
}

TreeChannel channel(const QString& name, const QString& key, QList<TreeLine> lines,
                    const QString& logo = {}) {
  TreeChannel c{name, logo, std::move(lines), {}};
  c.names << playlists::SearchableName::ofName(name, key);
  return c;
}

class ChannelTreeModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.start());
    server.addFile("/hn.png", pngBytes({16, 16}), "image/png");
    model.setTree({
        {"央视", {channel("CCTV-1", "cctv1", {line(3, "CCTV1"), line(1, "CCTV-1 综合")}),
                  channel("CCTV-5", "cctv5", {line(5, "CCTV-5")})}},
        {"卫视", {channel("湖南卫视", "湖南卫视", {line(7, "湖南卫视"), line(8, "湖南衛視"),
                                               line(9, "湖南卫视 HD")},
                          server.url("/hn.png"))}},
    });
  }

  QTemporaryDir dir;
  LocalHttpServer server;
  LogoCache logos{dir.path()};
  ChannelTreeModel model{logos};
  // Checks the model's answers after every change, and fails hard on a wrong one.
  QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};
};

TEST_F(ChannelTreeModelTest, ShowsGroupsChannelsAndLinesFound) {
  const struct {
    const char* query;
    QStringList shown;  // groups, and the channels under each
  } cases[] = {
      {"", {"央视", " CCTV-1 · 2 线路", " CCTV-5 · 1 线路", "卫视", " 湖南卫视 · 3 线路"}},
      {"cctv5", {"央视", " CCTV-5 · 1 线路"}},
      {"hnws", {"卫视", " 湖南卫视 · 3 线路"}},
      {"xyz", {}},
  };
  for (const auto& c : cases) {
    model.setQuery(QString::fromUtf8(c.query));
    QStringList shown;
    for (int g = 0; g < model.rowCount(); ++g) {
      const QModelIndex group = model.index(g, 0);
      shown << group.data().toString();
      for (int row = 0; row < model.rowCount(group); ++row)
        shown << u' ' + model.index(row, 0, group).data().toString();
    }
    EXPECT_EQ(shown, c.shown) << c.query;
  }
}

TEST_F(ChannelTreeModelTest, AChannelStandsForItsBestLine) {
  const QModelIndex cctv1 = model.index(0, 0, model.index(0, 0));
  ASSERT_EQ(model.rowCount(cctv1), 2);
  EXPECT_EQ(model.lineAt(cctv1)->entry, 3);
  EXPECT_EQ(model.lineAt(model.index(1, 0, cctv1))->entry, 1);
  EXPECT_EQ(model.index(1, 0, cctv1).data().toString(), QStringLiteral("线路 2 · 未检测"));
  EXPECT_EQ(model.lineAt(model.index(0, 0)), nullptr);
  EXPECT_EQ(model.firstChannel(), cctv1);
  model.setQuery("hnws");
  const QModelIndex hunan = model.firstChannel();
  EXPECT_EQ(model.lineAt(model.index(2, 0, hunan))->entry, 9);
}

TEST_F(ChannelTreeModelTest, ALogoShowsOnceItHasCome) {
  model.setQuery("hnws");
  const QModelIndex hunan = model.firstChannel();
  // Asked for, the logo is fetched; meanwhile the channel shows none.
  EXPECT_TRUE(hunan.data(Qt::DecorationRole).value<QIcon>().isNull());
  ASSERT_TRUE(waitUntil([&] { return !hunan.data(Qt::DecorationRole).value<QIcon>().isNull(); },
                        10000));
  model.setQuery("cctv");
  EXPECT_FALSE(model.firstChannel().data(Qt::DecorationRole).isValid());
}

}  // namespace
