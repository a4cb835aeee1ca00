#include "monitor/scan_marker.h"

#include "form/form.h"
#include "base/vb_text.h"
#include "library/found_list.h"
#include "library/scan_marker_text.h"
#include "playback/play_address.h"

namespace monitor {

namespace {

// The scan is over: the found stations become the list and the user is told.
void finishScan(Form& f) {
  library::ListFoundStations(f);
  if (f.terminated) return;
  playback::StopAll(f);
  f.host.messageBox(QStringLiteral("搜索完毕！"), QStringLiteral("搜索"), MessageIcon::Stop);
}

}  // namespace

QString AdvanceScanMarker(Form& f, const QString& text) {
  f.form1.setWidth(kWideWidth);
  QString marker = text;
  QString result = text;
  const int p1 = vb::instr(text, QStringLiteral("#"));
  const int p2 = p1 > 0 ? vb::instr(p1 + 1, text, QStringLiteral("#")) : 0;
  if (p2 > 0) {
    const int width = p2 - p1 - 1;
    const auto counter = library::readMarkerCounter(vb::mid(text, p1 + 1, width));
    if (!counter) return text;
    const qint64 n = *counter + 1;
    // The field keeps its width: a counter that outgrows it loses its tail.
    const QString field = QString::number(n).rightJustified(width, u'0').left(width);
    marker = vb::left(text, p1) + field + vb::mid(text, p2);
    result = vb::left(text, p1 - 1) + field + vb::mid(text, p2 + 1);
    if (marker.startsWith(u"list", Qt::CaseInsensitive)) {
      if (n < f.dz1.count()) {
        result = f.dz1.item(static_cast<int>(n));
        f.tvm.setText(f.tvm.item(static_cast<int>(n)));
      } else {
        finishScan(f);
        result.clear();
      }
    }
  }
  f.dz1.setText(marker);
  f.List3.addItem(marker);
  // An ended program plays nothing more.
  if (!f.yield()) return {};
  return result;
}

}  // namespace monitor
