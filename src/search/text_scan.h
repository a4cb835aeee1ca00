#pragma once

#include <QString>

class Form;

// The page-scan procedures on single texts. Positions count characters from
// 1, and 0 means "not found".
namespace search {

// Position of the first item of the ";"-list markers found in text from
// position from + 1 on, the items taken in list order.
int FindStartMarker(int from, const QString& text, const QString& markers);
// Where an address starting at position start ends: the position of the
// nearest end marker after it (past the marker when the marker belongs to
// the address, Text7 naming those that do not), else the text's length.
int FindAddressEnd(const Form& f, int start, const QString& text, const QString& markers);
// The first media address in a text, or "".
QString FindMediaAddress(Form& f, const QString& text);
// Hands every address of a text, with a name, to AddCandidate.
void ScanTextForStations(Form& f, const QString& text);
// Cuts a text at carriage returns and scans each piece.
void ScanTextByLines(Form& f, const QString& text);
// Sorts one candidate into the station lists or a queue.
void AddCandidate(Form& f, const QString& name, const QString& address);

}  // namespace search
