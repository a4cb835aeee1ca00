#pragma once

#include <mpv/client.h>

#include <cstdint>

// Every mpv option, property and command name the engines use, in one place.
namespace mpvname {

// Options set on every handle before it starts.
inline constexpr char kYtdl[] = "ytdl";
inline constexpr char kLoadScripts[] = "load-scripts";
inline constexpr char kAudioFallbackToNull[] = "audio-fallback-to-null";
inline constexpr char kNetworkTimeout[] = "network-timeout";
inline constexpr char kUserAgent[] = "user-agent";
inline constexpr char kVideoOutput[] = "vo";
inline constexpr char kAudioOutput[] = "ao";
inline constexpr char kIdle[] = "idle";
inline constexpr char kTerminal[] = "terminal";

// Per-file options given with loadfile.
inline constexpr char kLoopFile[] = "loop-file";
inline constexpr char kLavfOptions[] = "demuxer-lavf-o";
// A station's request headers (kUserAgent too): the list option takes
// "Name: value" items separated by commas, a comma inside escaped as "\,".
inline constexpr char kReferrer[] = "referrer";
inline constexpr char kHttpHeaderFields[] = "http-header-fields";

// Properties read or written.
inline constexpr char kPause[] = "pause";
inline constexpr char kMute[] = "mute";
inline constexpr char kFileSize[] = "file-size";
inline constexpr char kDuration[] = "duration";
inline constexpr char kAudioBitrate[] = "audio-bitrate";
inline constexpr char kVideoBitrate[] = "video-bitrate";
inline constexpr char kVersion[] = "mpv-version";

// Commands and their named arguments.
inline constexpr char kLoadFile[] = "loadfile";
inline constexpr char kStop[] = "stop";
inline constexpr char kPlaylistNext[] = "playlist-next";
inline constexpr char kPlaylistClear[] = "playlist-clear";
inline constexpr char kName[] = "name";
inline constexpr char kUrl[] = "url";
inline constexpr char kFlags[] = "flags";
inline constexpr char kOptions[] = "options";
inline constexpr char kReplace[] = "replace";
inline constexpr char kAppendPlay[] = "append-play";
inline constexpr char kEntryId[] = "playlist_entry_id";

// Log level whose messages tell why a load failed.
inline constexpr char kFailureLogLevel[] = "warn";

// Properties observed for change events, by id.
enum class Observed : std::uint64_t { PausedForCache = 1 };
struct ObservedProperty {
  Observed id;
  const char* name;
  mpv_format format;
};
inline constexpr ObservedProperty kObserved[] = {
    {Observed::PausedForCache, "paused-for-cache", MPV_FORMAT_FLAG},
};

}  // namespace mpvname
