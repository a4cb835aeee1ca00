#pragma once

#include <QString>

#include "base/user_agent.h"

// Names of the files the program keeps in its folder.
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
// The file of list addresses nettv keeps up to date from.
inline const QString kSubscriptionFile = QStringLiteral("subscribe.txt");
// The player and station index of the last play, read at start-up, and the
// place of a running station scan.
inline const QString kLastPlayedFile = QStringLiteral("bfwz.dat");
inline const QString kRunPositionFile = QStringLiteral("dqwz.dat");
// The health history; SQLite keeps its journals beside it under the same
// name with a suffix, and a damaged one is moved aside likewise.
inline const QString kHealthFile = QStringLiteral("health.db");

// True for the name of a file the program keeps in its folder, which only
// the program itself may write: a station file, a list it reads, a position
// file, the settings, the health history or one of its companions.
inline bool isProgramFileName(const QString& fileName) {
  for (const QString& own :
       {kLibraryFile, kFoundFile, kScannedFile, kExtraResultsFile, kFoundBackupFile,
        kDefaultResultsFile, kScratchFile, kMarkerFile, kAliasFile, kSubscriptionFile,
        kLastPlayedFile, kRunPositionFile, useragent::kSettingsFile})
    if (fileName.compare(own, Qt::CaseInsensitive) == 0) return true;
  return fileName.startsWith(kHealthFile, Qt::CaseInsensitive);
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
