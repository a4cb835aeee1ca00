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
// - serialising stops after kMaxWork characters, kept or not.
// When the whole page is longer than kMaxElement, element sizes are first
// estimated bottom-up from the DOM (tags and text, not attributes), so that
// the huge ancestors are never serialised. Smaller pages skip that walk: it
// costs more than serialising them.
constexpr int kMaxElement = 4 << 20;
constexpr int kMaxElements = 32 << 20;
constexpr int kMaxLink = 1 << 20;
constexpr int kMaxLinks = 8 << 20;
constexpr int kMaxWork = 128 << 20;

// Runs in an isolated world, so page scripts cannot replace what it calls.
// Arguments: markers, and the caps in the order above.
constexpr char kScript[] = R"JS(
(function (markers, maxElement, maxElements, maxLink, maxLinks, maxWork) {
  'use strict';
  var filter = null;
  if (markers.length > 0 && markers.indexOf('') < 0) {
    filter = new RegExp(markers.map(function (m) {
      return m.replace(/[.*+?^${}()|[\]\\\/]/g, '\\$&');
    }).join('|'), 'i');
  }
  var all = document.getElementsByTagName('*');
  var n = all.length;

  // Estimated innerHTML length of every element, children before parents and
  // without recursion (script-built pages may nest very deep).
  function estimateSizes() {
    var size = new Map();
    for (var i = n - 1; i >= 0; i--) {
      var s = 0;
      for (var c = all[i].firstChild; c; c = c.nextSibling) {
        if (c.nodeType === 1) s += (size.get(c) || 0) + 2 * c.tagName.length + 5;
        else if (c.nodeType === 3 || c.nodeType === 4 || c.nodeType === 8) s += c.length;
      }
      size.set(all[i], s);
    }
    return size;
  }
  var root = document.documentElement;
  var size = (root !== null && root.outerHTML.length > maxElement) ? estimateSizes() : null;
  function tooBig(el) { return size !== null && size.get(el) > maxElement; }

  var anchors = document.getElementsByTagName('a');
  var links = [], linkChars = 0;
  for (var i = 0; i < anchors.length && linkChars < maxLinks; i++) {
    var a = anchors[i];
    var inner = tooBig(a) ? '' : a.innerHTML;
    var href = String(a);
    if (inner.length > maxLink) inner = '';
    if (href.length > maxLink) href = '';
    linkChars += inner.length + href.length;
    links.push(inner, href);
  }

  // An element without a marker has none in its descendants either.
  var elements = [], total = 0, work = 0, rejected = null;
  for (var i = 0; i < n && work < maxWork; i++) {
    var el = all[i];
    if (rejected !== null) {
      if (rejected.contains(el)) continue;
      rejected = null;
    }
    if (tooBig(el)) continue;
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
         QStringLiteral("(%1, %2, %3, %4, %5, %6)")
             .arg(QString::fromUtf8(markers))
             .arg(kMaxElement)
             .arg(kMaxElements)
             .arg(kMaxLink)
             .arg(kMaxLinks)
             .arg(kMaxWork);
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
