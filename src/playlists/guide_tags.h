#pragma once

#include <QString>
#include <QStringView>

#include "playlists/station.h"

namespace playlists {

// The tags as a station line's fourth field, "tvg-id=…&tvg-logo=…" with the
// values percent-encoded, so no comma or line break can end the field; ""
// when there are none.
QString guideTagsField(const GuideTags& tags);
// The tags of such a field; unknown names are left out.
GuideTags parseGuideTagsField(QStringView field);

// Tags as a list gives them, made safe to keep: names tidied like station
// names, the logo and guide only as network addresses of sensible length.
GuideTags tidyTags(const GuideTags& tags);

}  // namespace playlists
