#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

// Models of the window's controls. The view observes them and forwards user
// actions through the action methods (click(), keyDown() ...); the procedures
// read and change them like the controls they stand for.

// Common state of every visible control: geometry in twips, visibility,
// enabled state, tooltip and caption.
class Control : public QObject {
  Q_OBJECT
 public:
  explicit Control(const QString& name = {});

  QString name() const { return m_name; }

  bool visible() const { return m_visible; }
  void setVisible(bool v);
  bool enabled() const { return m_enabled; }
  void setEnabled(bool e);
  QString toolTip() const { return m_toolTip; }
  void setToolTip(const QString& t);
  QString caption() const { return m_caption; }
  void setCaption(const QString& c);

  int left() const { return m_left; }
  int top() const { return m_top; }
  int width() const { return m_width; }
  int height() const { return m_height; }
  void setGeometry(int left, int top, int width, int height);
  void setWidth(int w);
  void setHeight(int h);

  // The program asks for the focus; the view moves it.
  void setFocus();
  bool focusRequested() const { return m_focusRequested; }

  // User actions, sent by the view (and by tests).
  void click() { Q_EMIT clicked(); }
  void gotFocus() { Q_EMIT focusGained(); }
  void lostFocus() { Q_EMIT focusLost(); }
  void keyDown(int keyCode) { Q_EMIT keyPressed(keyCode); }

 Q_SIGNALS:
  void changed();
  void focusWanted();
  void clicked();
  void focusGained();
  void focusLost();
  void keyPressed(int keyCode);

 private:
  QString m_name;
  QString m_caption;
  QString m_toolTip;
  bool m_visible = true;
  bool m_enabled = true;
  bool m_focusRequested = false;
  int m_left = 0, m_top = 0, m_width = 0, m_height = 0;
};

using Button = Control;
using Label = Control;
using Frame = Control;

class TextBox : public Control {
  Q_OBJECT
 public:
  using Control::Control;
  QString text() const { return m_text; }
  // Emits textChanged only when the text really changes, like the control.
  void setText(const QString& t);

 Q_SIGNALS:
  void textChanged(const QString& text);

 private:
  QString m_text;
};

class CheckBox : public Control {
  Q_OBJECT
 public:
  using Control::Control;
  bool checked() const { return m_checked; }
  // Setting the value from code raises no click.
  void setChecked(bool c);
  // The user's click: toggles, then raises the click.
  void userClick();

 private:
  bool m_checked = false;
};

// Items, the selected index and the text of a combo box or list box.
// item(i) out of range is "", as the lists answer in the procedures.
class ListControl : public Control {
  Q_OBJECT
 public:
  using Control::Control;

  int count() const { return static_cast<int>(m_items.size()); }
  QString item(int i) const;
  const QStringList& items() const { return m_items; }
  void addItem(const QString& text);
  void insertItem(int index, const QString& text);
  void removeItem(int index);
  void clear();
  // Index of the first item equal to text, or -1; constant time.
  int indexOf(const QString& text) const;

  int listIndex() const { return m_listIndex; }
  void setListIndex(int i);
  QString text() const { return m_text; }
  // Selects the first item equal to the text, or none.
  void setText(const QString& t);

 Q_SIGNALS:
  void itemInserted(int index);
  void itemRemoved(int index);
  void itemsCleared();
  void textChanged(const QString& text);

 private:
  void rebuildIndex() const;
  void applyText(const QString& t, int index);

  QStringList m_items;
  QString m_text;
  int m_listIndex = -1;
  mutable QHash<QString, int> m_first;
  mutable bool m_indexValid = true;
};

using ComboBox = ListControl;
using ListBox = ListControl;

// A timer model; the host makes an enabled timer tick every interval.
class Timer : public QObject {
  Q_OBJECT
 public:
  Timer(const QString& name, int intervalMs, bool enabled);
  QString name() const { return m_name; }
  int interval() const { return m_interval; }
  bool enabled() const { return m_enabled; }
  void setEnabled(bool e);
  void fire() { Q_EMIT tick(); }

 Q_SIGNALS:
  void enabledChanged(bool enabled);
  void tick();

 private:
  QString m_name;
  int m_interval;
  bool m_enabled;
};
