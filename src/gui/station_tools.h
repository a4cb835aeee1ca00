#pragma once

#include <QObject>
#include <QStringList>

class Form;
class QLineEdit;
class QMimeData;
class QWidget;

// What the window does with whole station lists besides the procedures:
// importing playlist files (dropped or chosen), exporting the found stations
// as M3U8 as the command line does, the quick test of every listed station
// and the subscription update, offered by a right-click on the station boxes.
class StationTools : public QObject {
  Q_OBJECT
 public:
  StationTools(Form& form, QWidget* window);

  // The local files of a drag, empty when it carries none.
  static QStringList localFiles(const QMimeData* data);

  // Imports the files into the found-stations file, reloads the lists and
  // says how many stations came in and how many were there already.
  void importFiles(const QStringList& files);
  void chooseAndImport();
  void exportM3u8();
  void quickTest();
  // Brings the station library up to date from subscribe.txt.
  void updateSubscriptions();

  // The box's own edit menu with the list actions below it.
  void addMenu(QLineEdit* box);

 private:
  Form& m_form;
  QWidget* m_window;
};
