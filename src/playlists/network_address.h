#pragma once

#include <QString>

namespace playlists {

// True when the address names a stream on the network by its scheme (http,
// https, ftp, mms, rtsp, rtmp and their variants, and the live transports
// rtp, udp, srt and rist that multicast lists use) and has something after
// "://". What a web page or a remote list names must pass this before the
// engines may open it: other schemes, bare paths and the engine's own
// protocols would open local files.
bool hasNetworkScheme(const QString& address);

}  // namespace playlists
