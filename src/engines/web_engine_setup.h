#pragma once

class QUrl;

namespace webengine {

// Call once before the application object exists (GUI, command line and test
// mains): registers the media address schemes so that links to them reach the
// page's navigation check, switches Chromium's sandbox off when running as
// root, and starts Chromium without any network activity of its own.
void prepareProcess();

// True for the schemes of media addresses (mms://, rtsp://): the browser hands
// them to no one and never shows them as pages.
bool isMediaScheme(const QUrl& url);

}  // namespace webengine
