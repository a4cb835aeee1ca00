#pragma once

#include <QString>

// The web search's marker boxes as texts, with the window's defaults: the
// accepted media types (Text3), the start markers (Text4), the end markers
// (Text5), the marker of dynamic addresses (Text6) and the end markers that
// stay outside an address (Text7).
struct MarkerTexts {
  QString mediaTypes = QStringLiteral(".mp3-.dat-.ram-.rm-mms:-rtsp:-.asx-.wmv-.");
  QString starts = QStringLiteral("http://;mms://;rtsp://;url=;value=");
  QString ends = QStringLiteral(".mp3;.dat;.ram;.rm;.asx;.wmv;\";';--;>");
  QString dynamic = QStringLiteral("?");
  QString outside = QStringLiteral("\"-->'");
};

// The marker file (gjz.txt) keeps the first three, one per line; those it
// lacks, or all when it cannot be read, keep their defaults.
MarkerTexts savedMarkerTexts(const QString& path);
