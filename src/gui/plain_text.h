#pragma once

#include <QString>

// Texts the program did not write itself (station names, page titles, link
// texts, addresses) are shown as they are. Qt takes a text that looks like
// HTML for rich text and loads the files its images name: a FIFO would
// block the window for good, /dev/zero would fill the memory. Labels and
// message boxes are set to plain text; tooltips have no such setting.

// A tooltip that shows text as it is.
QString plainToolTip(const QString& text);
