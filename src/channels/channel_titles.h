#pragma once

#include <QString>

#include "channels/channel_tree.h"

namespace channels {

// The texts the channel panel shows, in the window's language.

// A group's name, or 未分组 for lines of no group.
QString groupTitle(const TreeGroup& group);
// "CCTV-1 · 5 线路".
QString channelTitle(const TreeChannel& channel);
// The number-th line (from 1) with its last verdict and what it measured:
// "线路 1 · 可播放 · 1280×720 · 1.2 s", "线路 2 · 失败 · HTTP 403",
// "线路 3 · 未检测".
QString lineTitle(const TreeLine& line, int number);

}  // namespace channels
