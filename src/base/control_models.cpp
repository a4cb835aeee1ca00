#include "base/control_models.h"

Control::Control(const QString& name) : m_name(name) {}

void Control::setVisible(bool v) {
  if (m_visible == v) return;
  m_visible = v;
  Q_EMIT changed();
}

void Control::setEnabled(bool e) {
  if (m_enabled == e) return;
  m_enabled = e;
  Q_EMIT changed();
}

void Control::setToolTip(const QString& t) {
  if (m_toolTip == t) return;
  m_toolTip = t;
  Q_EMIT changed();
}

void Control::setCaption(const QString& c) {
  if (m_caption == c) return;
  m_caption = c;
  Q_EMIT changed();
}

void Control::setGeometry(int left, int top, int width, int height) {
  m_left = left;
  m_top = top;
  m_width = width;
  m_height = height;
  Q_EMIT changed();
}

void Control::setWidth(int w) {
  if (m_width == w) return;
  m_width = w;
  Q_EMIT changed();
}

void Control::setHeight(int h) {
  if (m_height == h) return;
  m_height = h;
  Q_EMIT changed();
}

void Control::setFocus() {
  m_focusRequested = true;
  Q_EMIT focusWanted();
}

void TextBox::setText(const QString& t) {
  if (m_text == t) return;
  m_text = t;
  Q_EMIT changed();
  Q_EMIT textChanged(m_text);
}

void CheckBox::setChecked(bool c) {
  if (m_checked == c) return;
  m_checked = c;
  Q_EMIT changed();
}

void CheckBox::userClick() {
  setChecked(!m_checked);
  Q_EMIT clicked();
}

QString ListControl::item(int i) const {
  return (i >= 0 && i < count()) ? m_items.at(i) : QString();
}

void ListControl::addItem(const QString& text) { insertItem(count(), text); }

void ListControl::insertItem(int index, const QString& text) {
  index = qBound(0, index, count());
  if (index == count()) {
    if (m_indexValid && !m_first.contains(text)) m_first.insert(text, index);
  } else {
    m_indexValid = false;
  }
  m_items.insert(index, text);
  if (m_listIndex >= index) ++m_listIndex;
  Q_EMIT itemInserted(index);
}

void ListControl::removeItem(int index) {
  if (index < 0 || index >= count()) return;
  m_items.removeAt(index);
  m_indexValid = false;
  if (m_listIndex == index) {
    m_listIndex = -1;
  } else if (m_listIndex > index) {
    --m_listIndex;
  }
  Q_EMIT itemRemoved(index);
}

void ListControl::clear() {
  m_items.clear();
  // The index is rebuilt on the next lookup, so a long load pays nothing.
  m_first.clear();
  m_indexValid = false;
  m_listIndex = -1;
  Q_EMIT itemsCleared();
  applyText(QString(), -1);
}

void ListControl::rebuildIndex() const {
  m_first.clear();
  m_first.reserve(m_items.size());
  for (int i = count() - 1; i >= 0; --i) m_first.insert(m_items.at(i), i);
  m_indexValid = true;
}

int ListControl::indexOf(const QString& text) const {
  if (!m_indexValid) rebuildIndex();
  return m_first.value(text, -1);
}

void ListControl::setListIndex(int i) {
  if (i < -1 || i >= count()) return;
  applyText(i >= 0 ? m_items.at(i) : m_text, i);
}

void ListControl::setText(const QString& t) { applyText(t, indexOf(t)); }

void ListControl::applyText(const QString& t, int index) {
  if (m_text == t && m_listIndex == index) return;
  m_text = t;
  m_listIndex = index;
  Q_EMIT changed();
  Q_EMIT textChanged(m_text);
}

Timer::Timer(const QString& name, int intervalMs, bool enabled)
    : m_name(name), m_interval(intervalMs), m_enabled(enabled) {}

void Timer::setEnabled(bool e) {
  if (m_enabled == e) return;
  m_enabled = e;
  Q_EMIT enabledChanged(e);
}
