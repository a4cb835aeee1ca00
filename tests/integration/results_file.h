#pragma once

#include <QJsonObject>
#include <QList>

#include "cli/json_lines.h"

// The objects of a check's JSON-lines results file, in order.
inline QList<QJsonObject> resultObjects(const QString& path) {
  QList<QJsonObject> objects;
  cli::JsonLinesReader reader(path);
  if (!reader.open()) return objects;
  while (const auto line = reader.next())
    if (line->object) objects << *line->object;
  return objects;
}
