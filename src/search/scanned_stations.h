#pragma once

#include <QElapsedTimer>
#include <QSet>
#include <QString>
#include <QStringList>

class Form;

namespace search {

// Appends one found-station line to tv_lib_ss_www.txt unless the file holds
// it already.
void RecordScannedStation(Form& f, const QString& line);

// The stations a page scan finds, written to tv_lib_ss_www.txt together: one
// read and one write of the file for many lines, each line still written
// only when the file does not hold it yet, nor the same stream with headers
// (found before on another page).
class ScannedStationBatch {
 public:
  explicit ScannedStationBatch(Form& f);

  void add(const QString& name, const QString& address);
  void write();
  qint64 msSinceWrite() const { return m_sinceWrite.elapsed(); }

 private:
  Form& m_f;
  struct Found {
    QString line;
    QString withHeaders;  // the address when it carries headers
  };
  QList<Found> m_found;
  QSet<QString> m_taken;
  QElapsedTimer m_sinceWrite;
};

}  // namespace search
