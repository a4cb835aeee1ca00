#pragma once

#include <QSet>
#include <QString>

class TextBox;

namespace search {

// The address record: the text of Text1 the user sees, and beside it the
// upper-cased addresses recorded since the search started (queued pages,
// and played addresses that others write into Text1), so that "the record
// holds this address" is one lookup however long the crawl runs. Appends
// reach the text box at the next flush, so a page full of links costs one
// copy of the text per flush instead of one per link.
class AddressRecord {
 public:
  static constexpr qsizetype kMaxLength = 1 << 20;

  explicit AddressRecord(TextBox& box, qsizetype maxLength = kMaxLength);
  AddressRecord(const AddressRecord&) = delete;
  AddressRecord& operator=(const AddressRecord&) = delete;

  bool contains(const QString& address) const;
  // Records the address and adds it with CR LF to the end of the text.
  void append(const QString& address);
  // Shows the appended addresses in the text box.
  void flush();
  // Drops count characters from the front of the text.
  void trimFront(qsizetype count);
  // A new search starts with no recorded addresses; the text stays.
  void forgetAddresses() { m_addresses.clear(); }
  // Empties the text and forgets every address.
  void clear();

 private:
  void observe(const QString& text);
  void remember(const QString& lines);
  void show(QString text);

  TextBox& m_box;
  qsizetype m_maxLength;
  QString m_shown;    // the box's text as last seen
  QString m_pending;  // appended, not yet shown
  QSet<QString> m_addresses;
  bool m_showing = false;
};

}  // namespace search
