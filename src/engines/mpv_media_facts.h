#pragma once

#include <QHash>
#include <QVariant>
#include <optional>

#include "engines/media_facts.h"

// What the observed properties of the entry now playing tell of its media:
// the selected tracks (cover art is no video), the container, the bitrate,
// the detection filters' findings, and how fast mpv read its input.
class ObservedMediaFacts {
 public:
  // A new entry: nothing is known of it.
  void clear();
  // which: an mpvname::Observed of mpvname::kFactsObserved.
  void take(quint64 which, const QVariant& value);
  // The facts but the download speed.
  MediaFacts facts() const;
  // Bits per second mpv read over its latest second of reading; 0 until a
  // whole second has passed.
  qint64 inputRate() const { return m_inputRate; }

 private:
  void takeInputRate(const QVariant& cacheState);

  QHash<quint64, QVariant> m_values;
  // mpv's first figure of an entry, which is over time before the entry.
  std::optional<qint64> m_openingRate;
  qint64 m_inputRate = 0;
};
