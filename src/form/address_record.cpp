#include "form/address_record.h"

#include <QRegularExpression>

#include "base/control_models.h"
#include "base/vb_text.h"

namespace search {

namespace {

// The record's key of an address: upper-cased, quickly for plain ASCII.
QString upperKey(const QString& address) {
  QString key = address;
  for (QChar& c : key) {
    const char16_t u = c.unicode();
    if (u >= 0x80) return address.toUpper();
    if (u >= u'a' && u <= u'z') c = QChar(u - (u'a' - u'A'));
  }
  return key;
}

}  // namespace

AddressRecord::AddressRecord(TextBox& box, qsizetype maxLength)
    : m_box(box), m_maxLength(maxLength), m_shown(box.text()) {
  remember(m_shown);
  QObject::connect(&box, &TextBox::textChanged, &box, [this](const QString& t) { observe(t); });
}

bool AddressRecord::contains(const QString& address) const {
  return m_addresses.contains(upperKey(address));
}

void AddressRecord::append(const QString& address) {
  m_addresses.insert(upperKey(address));
  m_pending += address;
  m_pending += QStringLiteral("\r\n");
}

void AddressRecord::flush() {
  if (m_pending.isEmpty()) return;
  QString text = m_shown + m_pending;
  m_pending.clear();
  show(std::move(text));
}

void AddressRecord::trimFront(qsizetype count) {
  flush();
  if (count <= 0) return;
  show(m_shown.mid(count));
}

void AddressRecord::clear() {
  m_pending.clear();
  m_addresses.clear();
  show(QString());
}

// Someone else wrote the box (a played address put in front, or the user's
// edit): the new lines join the record.
void AddressRecord::observe(const QString& text) {
  if (m_showing) return;
  if (text.endsWith(m_shown)) {
    remember(text.left(text.size() - m_shown.size()));
  } else if (text.startsWith(m_shown)) {
    remember(text.mid(m_shown.size()));
  } else {
    remember(text);
  }
  m_shown = text;
  if (m_shown.size() > m_maxLength) show(m_shown);
}

void AddressRecord::remember(const QString& lines) {
  static const QRegularExpression lineEnd(QStringLiteral("[\r\n]"));
  for (const QString& line : lines.split(lineEnd, Qt::SkipEmptyParts)) {
    const QString address = vb::trim(line);
    if (!address.isEmpty()) m_addresses.insert(upperKey(address));
  }
}

// Keeps the text under its bound by dropping whole lines from the front,
// down to seven eighths of it so that the next appends do not trim again.
void AddressRecord::show(QString text) {
  if (text.size() > m_maxLength) {
    qsizetype cut = text.size() - m_maxLength / 8 * 7;
    const qsizetype lineStart = text.indexOf(u'\n', cut);
    if (lineStart >= 0) cut = lineStart + 1;
    text.remove(0, cut);
  }
  m_showing = true;
  m_box.setText(text);
  m_showing = false;
  m_shown = std::move(text);
}

}  // namespace search
