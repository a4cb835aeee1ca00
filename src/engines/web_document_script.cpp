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
//   kMaxLinks; a link whose text and target together exceed kMaxLink keeps
//   its place in the list with both empty;
// - serialising stops after kMaxWork characters, wanted or not.
// Sizes are first estimated bottom-up from the DOM without serialising, so an
// element far above the caps costs nothing.
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
  var index = new Map();
  for (var i = 0; i < n; i++) index.set(all[i], i);

  function tagSize(el) {
    var s = 2 * el.tagName.length + 5;
    var attrs = el.attributes;
    for (var j = 0; j < attrs.length; j++) s += attrs[j].name.length + attrs[j].value.length + 4;
    return s;
  }
  // Estimated innerHTML length and number of descendant elements, children
  // before parents, without recursion (pages may nest 100,000 deep).
  var size = new Float64Array(n), below = new Int32Array(n);
  for (var i = n - 1; i >= 0; i--) {
    var s = 0, d = 0;
    for (var c = all[i].firstChild; c; c = c.nextSibling) {
      if (c.nodeType === 1) {
        var k = index.get(c);
        if (k !== undefined) { s += size[k] + tagSize(c); d += below[k] + 1; }
      } else if (c.nodeType === 3 || c.nodeType === 4) {
        s += c.length;
      } else if (c.nodeType === 8) {
        s += c.length + 7;
      }
    }
    size[i] = s;
    below[i] = d;
  }

  var anchors = document.getElementsByTagName('a');
  var links = [], linkChars = 0;
  for (var i = 0; i < anchors.length && linkChars < maxLinks; i++) {
    var a = anchors[i], k = index.get(a);
    var inner = (k !== undefined && size[k] <= maxLink) ? a.innerHTML : '';
    var href = String(a);
    if (inner.length + href.length > maxLink) { inner = ''; href = ''; }
    linkChars += inner.length + href.length;
    links.push(inner, href);
  }

  var elements = [], total = 0, work = 0;
  for (var i = 0; i < n && work < maxWork; i++) {
    if (size[i] > maxElement || total + size[i] > maxElements) continue;
    var html = all[i].innerHTML;
    work += html.length;
    if (html.length > maxElement || total + html.length > maxElements) continue;
    if (filter !== null && !filter.test(html)) { i += below[i]; continue; }
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
