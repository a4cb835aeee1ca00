#pragma once

#include <QString>

class Form;
class ListControl;

namespace search {

// Command17's caption while no web search runs.
inline const QString kWebSearchCaption = QStringLiteral("网上搜索");

// Navigates the browser, telling it first which elements the scan can use.
void NavigateBrowser(Form& f, const QString& url);

// Command17: starts a web search at the typed address or the home page.
void StartWebSearch(Form& f);
// The one-shot crawl timer: the next queued page, while pages are queued.
void Timer9_Timer(Form& f);
// Trims the address record and visits the head of List2, else of tvmx.
void CrawlStep(Form& f);
// Skips unusable heads of a queue, loads the head and moves it to List1;
// names (List3) goes along with the page queue.
void VisitQueueHead(Form& f, ListControl& queue, ListControl* names);
void List2_Click(Form& f);
void tvmx_Click(Form& f);
// Goes on with the crawl near the clicked page.
void List3_Click(Form& f);
// Command9: halts searches, scans and playing.
void StopSearch(Form& f);

}  // namespace search
