#include "library/temp_entries.h"

#include <QDir>

#include "form/form.h"

namespace library {

void ListTempEntries(Form& f) {
  const QDir folder(f.path(QStringLiteral("temp")));
  const QFileInfoList files = folder.entryInfoList(QDir::Files, QDir::Unsorted);
  for (const QFileInfo& file : files) {
    const QString name = file.fileName();
    const QString ending = name.right(4).toLower();
    if (ending != u".asx" && ending != u".htm") continue;
    f.tvm.addItem(name.chopped(4));
    f.dz1.addItem(file.absoluteFilePath());
  }
}

}  // namespace library
