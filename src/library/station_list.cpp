#include "library/station_list.h"

#include <QElapsedTimer>

#include "form/form.h"
#include "base/text_file.h"
#include "base/vb_text.h"
#include "playlists/station_files.h"
#include "library/scan_marker_text.h"

namespace library {

namespace {

// Long files yield in slices of this much work, so the window stays
// responsive without paying for a yield per line.
constexpr qint64 kYieldSliceMs = 10;

struct Entry {
  QString name;
  QString address;
};

// Name and address of a line, or nothing for a line the lists do not take.
std::optional<Entry> parseLine(QString line) {
  line.replace(u'\t', u' ');
  const int c1 = vb::instr(line, QStringLiteral(","));
  if (c1 == 0) return std::nullopt;
  const int c2 = vb::instr(c1 + 1, line, QStringLiteral(","));
  if (c2 == 0) return std::nullopt;
  const QString name = vb::left(line, c1 - 1);
  const QString address = vb::mid(line, c1 + 1, c2 - c1 - 1);
  if (name.isEmpty() || address.isEmpty()) return std::nullopt;
  // Local wrapper files are offered by the temp folder listing, not by files.
  if (localPathContains(address, QStringLiteral("play\\temp"))) return std::nullopt;
  return Entry{vb::trim(name), vb::trim(address)};
}

}  // namespace

quint64 ClearStationLists(Form& f) {
  f.tvm.clear();
  f.dz1.clear();
  return ++f.stationListLoads;
}

bool yieldWithinLoad(Form& f, quint64 load) { return f.yield() && f.stationListLoads == load; }

bool LoadStationList(Form& f, const QString& fileName) {
  // A load that follows one the program ended in does nothing.
  if (f.terminated) return false;
  const quint64 load = f.stationListLoads;
  const auto lines = textfile::readLines(f.path(fileName));
  int n = f.dz1.count();
  if (n > 0) {
    f.tvm.insertItem(n, kSeparator);
    f.dz1.insertItem(n, kSeparator);
    ++n;
  }
  QStringList scratch;
  QElapsedTimer slice;
  slice.start();
  if (!yieldWithinLoad(f, load)) return false;
  const int count = lines ? static_cast<int>(lines->size()) : 0;
  for (int i = 0; i < count; ++i) {
    if (slice.elapsed() >= kYieldSliceMs) {
      if (!yieldWithinLoad(f, load)) return false;
      slice.restart();
    }
    const QString& line = lines->at(i);
    if (line.compare(u"end", Qt::CaseInsensitive) == 0) break;
    if (const auto entry = parseLine(line)) {
      f.tvm.insertItem(n, entry->name);
      f.dz1.insertItem(n, entry->address);
      // The index of the entries as loaded: fields the line split already.
      scratch << entry->name + u',' + entry->address + u',' + QString::number(n);
      ++n;
    }
    if (i + 1 < count && lines->at(i + 1).isEmpty()) break;
  }
  const QString scratchPath = f.path(kScratchFile);
  f.writes.check(scratchPath, textfile::writeLines(scratchPath, scratch));
  return true;
}

void ReloadAllStationLists(Form& f) {
  ClearStationLists(f);
  for (const QString& file : {kFoundFile, kScannedFile, kLibraryFile})
    if (!LoadStationList(f, file)) return;
}

void ReloadStationListsWhenIdle(Form& f) {
  // A reload would blank a running scan's marker in dz1, which ends the scan,
  // and drop a web search's finds; both relist the files when they end.
  if (library::isScanMarker(f.dz1.text()) || f.SearchState == kSearchRunning) return;
  ReloadAllStationLists(f);
}

}  // namespace library
