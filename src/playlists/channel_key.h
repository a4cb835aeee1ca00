#pragma once

#include <QString>

namespace playlists {

// The key under which station names count as one channel, by rules alone
// (ChannelNames adds the user's aliases). Safe to call from any thread.
//
// foldChannelName: full-width forms to half-width (NFKC), traditional
// Chinese to simplified, lower case: "鳳凰衛視ＨＤ" → "凤凰卫视hd".
QString foldChannelName(const QString& name);
// keyOfFoldedName: the key of a folded name: bracketed notes ("(备)",
// "[1080p]", "【高清】"), trailing quality, line and filler words ("高清",
// "HD", "1080p", "4K" after a name, "频道", a final "台", "电信", "IPV6",
// "备2") and separators (spaces, "-", "_", "|", "·") dropped:
// "cctv-1 [1080p] 高清" → "cctv1". What tells channels apart stays:
// "cctv5+", "cctv4k", "cctv4欧洲", "凤凰卫视资讯". Never empty for a name
// that is not blank: a name made only of filler keeps its words.
QString keyOfFoldedName(const QString& folded);
// channelKey: both steps.
QString channelKey(const QString& name);

}  // namespace playlists
