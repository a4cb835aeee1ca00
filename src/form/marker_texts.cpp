#include "form/marker_texts.h"

#include "base/text_file.h"

MarkerTexts savedMarkerTexts(const QString& path) {
  MarkerTexts texts;
  const auto lines = textfile::readLines(path);
  if (!lines) return texts;
  QString* kept[] = {&texts.mediaTypes, &texts.starts, &texts.ends};
  for (int i = 0; i < 3 && i < lines->size(); ++i) *kept[i] = lines->at(i);
  return texts;
}
