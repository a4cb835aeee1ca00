#pragma once

#include <QStringList>
#include <QVariant>

#include "form/web_browser.h"

namespace webengine {

// The JavaScript that reads a loaded page into a Document: every link with
// its innerHTML and String(a), every element's innerHTML, in document order.
// Elements whose innerHTML holds none of startMarkers (case-insensitive) are
// left out, and so are their descendants; an empty marker list, or one with
// an empty item, keeps every element. The amounts read are capped (see the
// .cpp) so that no page can make the reading unbounded.
QString documentScript(const QStringList& startMarkers);

// The Document the script returned; an empty one for any other value.
Document documentFromScriptResult(const QVariant& result);

}  // namespace webengine
