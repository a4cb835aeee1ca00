#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "base/control_models.h"

namespace {

// indexOf must always agree with a plain search from the front.
void expectIndexAgrees(const ListControl& list) {
  for (int v = 0; v < 12; ++v) {
    const QString text = QString::number(v);
    ASSERT_EQ(list.indexOf(text), list.items().indexOf(text)) << "value " << v;
  }
}

}  // namespace

TEST(ListControl, IndexOfFollowsEveryChange) {
  ListControl list;
  QRandomGenerator random(7);
  for (int step = 0; step < 3000; ++step) {
    const QString value = QString::number(random.bounded(10));
    const int where = random.bounded(list.count() + 1);
    switch (random.bounded(6)) {
      case 0: list.insertItem(where, value); break;
      case 1: list.removeItem(random.bounded(qMax(1, list.count()))); break;
      case 2: if (random.bounded(20) == 0) list.clear(); break;
      case 3: list.setText(value); break;
      default: list.addItem(value); break;
    }
    expectIndexAgrees(list);
    if (::testing::Test::HasFatalFailure()) return;
  }
}

TEST(ListControl, SetTextSelectsTheFirstEqualItemOrNone) {
  ListControl list;
  for (const char* item : {"a", "b", "a", "B"}) list.addItem(item);
  list.setText("a");
  EXPECT_EQ(list.listIndex(), 0);
  list.setText("B");
  EXPECT_EQ(list.listIndex(), 3);
  list.setText("c");
  EXPECT_EQ(list.listIndex(), -1);
  EXPECT_EQ(list.text(), "c");
  list.removeItem(0);
  list.setText("a");
  EXPECT_EQ(list.listIndex(), 1);
}

TEST(ListControl, SelectionFollowsTheSelectedItem) {
  ListControl list;
  for (const char* item : {"a", "b", "c"}) list.addItem(item);
  list.setListIndex(1);
  EXPECT_EQ(list.text(), "b");
  list.insertItem(0, "x");
  EXPECT_EQ(list.listIndex(), 2);
  list.removeItem(0);
  EXPECT_EQ(list.listIndex(), 1);
  list.removeItem(1);
  EXPECT_EQ(list.listIndex(), -1);
  list.setListIndex(5);
  EXPECT_EQ(list.listIndex(), -1);
  list.clear();
  EXPECT_EQ(list.text(), "");
  EXPECT_EQ(list.item(0), "");
  EXPECT_EQ(list.item(-1), "");
}

TEST(CheckBox, OnlyTheUsersClickRaisesClick) {
  CheckBox box;
  int clicks = 0;
  QObject::connect(&box, &Control::clicked, [&] { ++clicks; });
  box.setChecked(true);
  EXPECT_EQ(clicks, 0);
  box.userClick();
  EXPECT_FALSE(box.checked());
  EXPECT_EQ(clicks, 1);
}

TEST(TextBox, ChangeEventOnlyForANewText) {
  TextBox box;
  QStringList seen;
  QObject::connect(&box, &TextBox::textChanged, [&](const QString& t) { seen << t; });
  box.setText("a");
  box.setText("a");
  box.setText("");
  EXPECT_EQ(seen, QStringList({"a", ""}));
}
