#pragma once

#include <QString>

// Names of the station list files in the program folder.
namespace library {

inline const QString kLibraryFile = QStringLiteral("tv_lib.txt");
inline const QString kFoundFile = QStringLiteral("tv_lib_ss_jg.txt");
inline const QString kScannedFile = QStringLiteral("tv_lib_ss_www.txt");
inline const QString kExtraResultsFile = QStringLiteral("tv_lib_ss.txt");
inline const QString kFoundBackupFile = QStringLiteral("tv_lib_ss_jg_xx.txt");
inline const QString kDefaultResultsFile = QStringLiteral("tv_lib_ss_jg_y.txt");
inline const QString kScratchFile = QStringLiteral("wjmxd");
// Marks the boundary between two files' entries in both lists.
inline const QString kSeparator = QStringLiteral("-------------");

// A station line as the program writes it: name, comma, address, comma.
inline QString stationLine(const QString& name, const QString& address) {
  return name + u',' + address + u',';
}

}  // namespace library
