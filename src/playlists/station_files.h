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
// The accepted media types, start markers and end markers of the web search.
inline const QString kMarkerFile = QStringLiteral("gjz.txt");
// The user's channel aliases: "canonical name,alias,…" per line.
inline const QString kAliasFile = QStringLiteral("alias.txt");

// True for the name of a file the program keeps in its folder: station
// files and the marker lists, which only the program itself may write.
inline bool isProgramFileName(const QString& fileName) {
  for (const QString& own : {kLibraryFile, kFoundFile, kScannedFile, kExtraResultsFile,
                             kFoundBackupFile, kDefaultResultsFile, kScratchFile, kMarkerFile})
    if (fileName.compare(own, Qt::CaseInsensitive) == 0) return true;
  return false;
}
// Marks the boundary between two files' entries in both lists.
inline const QString kSeparator = QStringLiteral("-------------");

// True when the address is a local path through the folders named by
// backslashPart ("play\\temp"), written with either slash; a web address
// never is, even when its path has those names.
inline bool localPathContains(const QString& address, const QString& backslashPart) {
  const QString lower = address.toLower();
  if (lower.contains(backslashPart)) return true;
  if (lower.contains(u"://")) return false;
  return lower.contains(QString(backslashPart).replace(u'\\', u'/'));
}

// A station line as the program writes it: name, comma, address, comma,
// the fields made storable by playlists::stationFileLine; empty when the
// address cannot be stored.
QString stationLine(const QString& name, const QString& address);

}  // namespace library
