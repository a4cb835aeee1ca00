#include "engines/web_document_script.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace webengine {

namespace {

// Caps, in UTF-16 characters. A page of 50 MB or of 100,000 nested elements
// would otherwise give gigabytes of element text (every ancestor repeats its
// descendants):
// - an element whose innerHTML is longer than kMaxElement is left out (its
//   descendants are still read; the html and body of a huge page fall here);
// - element texts stop at kMaxElements in all, link texts and targets at
//   kMaxLinks; a link text or target longer than kMaxLink is read as empty
//   (the link keeps its place in the list);
// - serialising stops after kMaxWork characters, kept or not, and reading
//   stops after kMaxReadMs, so the page's time limit is left to the load.
constexpr int kMaxElement = 4 << 20;
constexpr int kMaxElements = 32 << 20;
constexpr int kMaxLink = 1 << 20;
constexpr int kMaxLinks = 8 << 20;
constexpr int kMaxWork = 256 << 20;
constexpr int kMaxReadMs = 5000;

// Runs in an isolated world, so page scripts cannot replace what it calls.
// Arguments: markers, and the caps in the order above.
constexpr char kScript[] = R"JS(
(function (markers, maxElement, maxElements, maxLink, maxLinks, maxWork, maxReadMs) {
  'use strict';
  var deadline = performance.now() + maxReadMs;
  var filter = null;
  if (markers.length > 0 && markers.indexOf('') < 0) {
    filter = new RegExp(markers.map(function (m) {
      return m.replace(/[.*+?^${}()|[\]\\\/]/g, '\\$&');
    }).join('|'), 'i');
  }
  var work = 0;

  var anchors = document.getElementsByTagName('a');
  var links = [], linkChars = 0;
  for (var i = 0; i < anchors.length && linkChars < maxLinks && work < maxWork; i++) {
    if (performance.now() > deadline) break;
    var a = anchors[i];
    var inner = a.innerHTML;
    var href = String(a);
    work += inner.length;
    if (inner.length > maxLink) inner = '';
    if (href.length > maxLink) href = '';
    linkChars += inner.length + href.length;
    links.push(inner, href);
  }

  // An element without a marker has none in its descendants either.
  var all = document.getElementsByTagName('*');
  var elements = [], total = 0, rejected = null;
  for (var i = 0; i < all.length && work < maxWork; i++) {
    if (performance.now() > deadline) break;
    var el = all[i];
    if (rejected !== null) {
      if (rejected.contains(el)) continue;
      rejected = null;
    }
    var html = el.innerHTML;
    work += html.length;
    if (html.length > maxElement || total + html.length > maxElements) continue;
    if (filter !== null && !filter.test(html)) { rejected = el; continue; }
    elements.push(html);
    total += html.length;
  }
  return {links: links, elements: elements};
})
)JS";

}  // namespace

QString documentScript(const QStringList& startMarkers) {
  const QByteArray markers =
      QJsonDocument(QJsonArray::fromStringList(startMarkers)).toJson(QJsonDocument::Compact);
  return QString::fromUtf8(kScript).trimmed() +
         QStringLiteral("(%1, %2, %3, %4, %5, %6, %7)")
             .arg(QString::fromUtf8(markers))
             .arg(kMaxElement)
             .arg(kMaxElements)
             .arg(kMaxLink)
             .arg(kMaxLinks)
             .arg(kMaxWork)
             .arg(kMaxReadMs);
}

Document documentFromScriptResult(const QVariant& result) {
  Document doc;
  const QVariantMap map = result.toMap();
  const QVariantList links = map.value(QStringLiteral("links")).toList();
  doc.links.reserve(links.size() / 2);
  for (qsizetype i = 0; i + 1 < links.size(); i += 2)
    doc.links.append({links.at(i).toString(), links.at(i + 1).toString()});
  const QVariantList elements = map.value(QStringLiteral("elements")).toList();
  doc.elements.reserve(elements.size());
  for (const QVariant& e : elements) doc.elements.append(e.toString());
  return doc;
}

}  // namespace webengine
