#pragma once

#include <QString>

namespace playlists {

// A name's Chinese characters in pinyin without tones, for typing a name in
// Latin letters: "湖南卫视" → full "hunanweishi", initials "hnws". ASCII
// letters and digits stay as they are in both, lower-cased ("CCTV-1综合" →
// "cctv1zonghe", "cctv1zh"); other characters are left out.
struct Pinyin {
  QString full;
  QString initials;
};

// The pinyin of a name by ICU's "Han-Latin; Latin-ASCII" transliteration,
// which reads each run of Chinese characters with its neighbours ("重庆" →
// "chongqing"). Runs are cached, as ICU takes about ten microseconds a
// character. Only the first 64 characters of a name count. Safe to call
// from any thread.
Pinyin pinyinOf(const QString& name);

}  // namespace playlists
