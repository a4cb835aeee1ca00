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
// "no": the picture is neither decoded nor shown.
inline constexpr char kVideoTrack[] = "vid";
inline constexpr char kIdle[] = "idle";
inline constexpr char kTerminal[] = "terminal";
// Where the window's picture goes: the native window mpv draws into by
// itself, and no probing of hardware decoders' interops while it renders
// through OpenGL (decoding runs in software; the probes only print noise).
inline constexpr char kWindowId[] = "wid";
inline constexpr char kHardwareInterop[] = "gpu-hwdec-interop";
// mpv's built-in scripts: each runs a thread and a Lua state of its own, and
// the console and statistics scripts set up a text renderer with its fonts.
inline constexpr char kLoadStats[] = "load-stats-overlay";
inline constexpr char kLoadConsole[] = "load-osd-console";
inline constexpr char kLoadAutoProfiles[] = "load-auto-profiles";

// Options of the headless engines that check stations: decode as fast as the
// data comes, keep little in memory, stay open at the end so the filters'
// findings can still be read.
inline constexpr char kUntimed[] = "untimed";
inline constexpr char kNullAudioUntimed[] = "ao-null-untimed";
inline constexpr char kKeepOpen[] = "keep-open";
inline constexpr char kReadAheadBytes[] = "demuxer-max-bytes";
inline constexpr char kKeptBehindBytes[] = "demuxer-max-back-bytes";
inline constexpr char kReadAheadSeconds[] = "demuxer-readahead-secs";
inline constexpr char kCache[] = "cache";
inline constexpr char kCoverArt[] = "audio-display";
inline constexpr char kCoverArtFiles[] = "cover-art-auto";
inline constexpr char kSubtitleFiles[] = "sub-auto";
inline constexpr char kAudioFiles[] = "audio-file-auto";
inline constexpr char kHardwareDecoding[] = "hwdec";
inline constexpr char kVideoThreads[] = "vd-lavc-threads";
inline constexpr char kAudioThreads[] = "ad-lavc-threads";
inline constexpr char kVideoFastDecode[] = "vd-lavc-fast";
inline constexpr char kVideoSkipLoopFilter[] = "vd-lavc-skiploopfilter";
inline constexpr char kAudioFilters[] = "af";
inline constexpr char kVideoFilters[] = "vf";

// Per-file options given with loadfile.
inline constexpr char kLoopFile[] = "loop-file";
// Also per file (set at once with the load, not waited for): kNetworkTimeout.
inline constexpr char kLavfOptions[] = "demuxer-lavf-o";
// A station's request headers (kUserAgent too): the list option takes
// "Name: value" items separated by commas, a comma inside escaped as "\,".
inline constexpr char kReferrer[] = "referrer";
inline constexpr char kHttpHeaderFields[] = "http-header-fields";

// Properties read or written.
inline constexpr char kPause[] = "pause";
inline constexpr char kMute[] = "mute";
inline constexpr char kVolume[] = "volume";
inline constexpr char kFileSize[] = "file-size";
inline constexpr char kDuration[] = "duration";
inline constexpr char kAudioBitrate[] = "audio-bitrate";
inline constexpr char kVideoBitrate[] = "video-bitrate";
inline constexpr char kVersion[] = "mpv-version";
inline constexpr char kTrackList[] = "track-list";
inline constexpr char kFileFormat[] = "file-format";
inline constexpr char kTimePos[] = "time-pos";
inline constexpr char kEofReached[] = "eof-reached";
// The demuxer's cache, and in it the bytes per second its input gave over
// the latest second of reading.
inline constexpr char kCacheState[] = "demuxer-cache-state";
inline constexpr char kCacheInputRate[] = "raw-input-rate";
// The checking engine's detection filters: their labels, and the findings
// each reports under "af-metadata/<label>" or "vf-metadata/<label>".
inline constexpr char kSilenceLabel[] = "silence";
inline constexpr char kBlackLabel[] = "black";
inline constexpr char kFreezeLabel[] = "freeze";
inline constexpr char kSilenceFindings[] = "af-metadata/silence";
inline constexpr char kBlackFindings[] = "vf-metadata/black";
inline constexpr char kFreezeFindings[] = "vf-metadata/freeze";

// Fields of a track-list entry.
inline constexpr char kTrackType[] = "type";
inline constexpr char kTrackSelected[] = "selected";
inline constexpr char kTrackImage[] = "image";
inline constexpr char kTrackAlbumArt[] = "albumart";
inline constexpr char kTrackCodec[] = "codec";
inline constexpr char kTrackWidth[] = "demux-w";
inline constexpr char kTrackHeight[] = "demux-h";
inline constexpr char kTrackBitrate[] = "demux-bitrate";

// Commands and their named arguments.
inline constexpr char kLoadFile[] = "loadfile";
inline constexpr char kStop[] = "stop";
inline constexpr char kPlaylistNext[] = "playlist-next";
inline constexpr char kPlaylistClear[] = "playlist-clear";
inline constexpr char kSeek[] = "seek";
inline constexpr char kRelative[] = "relative";
inline constexpr char kAbsolute[] = "absolute";
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
enum class Observed : std::uint64_t {
  PausedForCache = 1,
  TimePos,
  EofReached,
  Duration,
  Volume,
  Mute,
  FileFormat,
  TrackList,
  FileSize,
  MediaLength,  // the duration, as a fact of the entry
  VideoBitrate,
  AudioBitrate,
  SilenceFindings,
  BlackFindings,
  FreezeFindings,
  CacheState,
};
struct ObservedProperty {
  Observed id;
  const char* name;
  mpv_format format;
};
inline constexpr ObservedProperty kObserved[] = {
    {Observed::PausedForCache, "paused-for-cache", MPV_FORMAT_FLAG},
};
// Observed by engines that report decoding progress or show their controls.
inline constexpr ObservedProperty kPositionObserved{Observed::TimePos, kTimePos,
                                                    MPV_FORMAT_DOUBLE};
// Observed only by engines that report decoding progress.
inline constexpr ObservedProperty kProgressObserved[] = {
    {Observed::EofReached, kEofReached, MPV_FORMAT_FLAG},
};
// Observed only by engines that show their controls (a control bar).
inline constexpr ObservedProperty kControlsObserved[] = {
    {Observed::Duration, kDuration, MPV_FORMAT_DOUBLE},
    {Observed::Volume, kVolume, MPV_FORMAT_DOUBLE},
    {Observed::Mute, kMute, MPV_FORMAT_FLAG},
};
// Observed afresh for each entry by engines that report what they played,
// so every value belongs to the entry.
inline constexpr ObservedProperty kFactsObserved[] = {
    {Observed::FileFormat, kFileFormat, MPV_FORMAT_NODE},
    {Observed::TrackList, kTrackList, MPV_FORMAT_NODE},
    {Observed::FileSize, kFileSize, MPV_FORMAT_NODE},
    {Observed::MediaLength, kDuration, MPV_FORMAT_NODE},
    {Observed::VideoBitrate, kVideoBitrate, MPV_FORMAT_NODE},
    {Observed::AudioBitrate, kAudioBitrate, MPV_FORMAT_NODE},
    {Observed::SilenceFindings, kSilenceFindings, MPV_FORMAT_NODE},
    {Observed::BlackFindings, kBlackFindings, MPV_FORMAT_NODE},
    {Observed::FreezeFindings, kFreezeFindings, MPV_FORMAT_NODE},
    {Observed::CacheState, kCacheState, MPV_FORMAT_NODE},
};
// The facts of kFactsObserved that the detection filters find.
inline constexpr Observed kFindings[] = {Observed::SilenceFindings, Observed::BlackFindings,
                                         Observed::FreezeFindings};

}  // namespace mpvname
