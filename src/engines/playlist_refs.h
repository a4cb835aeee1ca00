#pragma once

#include <QString>
#include <QStringList>

// Reference lists that point at media: .ram (one address a line) and .asx
// (XML with <ref href=...> entries). mpv does not expand them itself.
namespace playlistrefs {

enum class Kind { None, Ram, Asx };

// The kind of list an address names, by its extension in any case.
Kind kindOf(const QString& address);

// The addresses of a list's text, in order, resolved against the list's own
// address when relative. A list from the network keeps only network
// addresses (http, https, mms, mmsh, rtsp, rtmp); a local list keeps all.
QStringList entries(Kind kind, const QString& text, const QString& listAddress);

// One address a line; empty lines, "#" comments and "--stop--" are skipped.
QStringList parseRam(const QString& text);
// The href of every <ref> element; tag and attribute names in any case,
// values quoted or not, comments ignored.
QStringList parseAsx(const QString& text);

}  // namespace playlistrefs
