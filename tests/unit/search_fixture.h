#pragma once

#include <QStringList>

#include "form/form.h"
#include "playlists/station_address.h"
#include "form_fixture.h"

// A Form ready for web-search tests: timers attached with only the crawl
// timer able to run, and helpers to build pages for the fake browser.
class SearchTest : public FormTest {
 protected:
  SearchTest() {
    f.Timer5.setEnabled(false);
    f.Timer10.setEnabled(false);
    f.startTimers();
  }

  static Document::Link link(const QString& href, const QString& inner) { return {inner, href}; }

  // A page whose links are also its elements, each wrapped in a list item,
  // inside a body that holds them all, as a browser lists them.
  static Document page(const QList<Document::Link>& links) {
    Document d;
    d.links << link(QStringLiteral("http://site.example.cn/"), QStringLiteral("首页"));
    QString body;
    for (const Document::Link& l : links) {
      const QString a = QStringLiteral("<a href=\"%1\">%2</a>").arg(l.href, l.innerHTML);
      d.links << l;
      d.elements << a << l.innerHTML;
      body += QStringLiteral("<li>") + a + QStringLiteral("</li>\n");
    }
    d.elements.prepend(body);
    return d;
  }

  static Document elementsOnly(const QStringList& elements) {
    Document d;
    d.elements = elements;
    return d;
  }

  // The found addresses without their request headers.
  QStringList foundAddresses() const {
    QStringList bare;
    for (const QString& address : f.dz1.items()) bare << playlists::bareAddress(address);
    return bare;
  }

  QStringList stations() const {
    QStringList s;
    for (int i = 0; i < f.tvm.count(); ++i) s << f.tvm.item(i) + u'|' + f.dz1.item(i);
    return s;
  }
};
