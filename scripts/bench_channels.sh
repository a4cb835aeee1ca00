#!/usr/bin/env bash
# Measures `nettv channels` on 100,000 lines of 5,000 channels with a filled
# health history: wall time and peak memory. Run after a build.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
NETTV="$ROOT/build/app/nettv"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT

python3 - "$WORK" <<'PY'
import random, sys
work = sys.argv[1]
random.seed(7)
spellings = ['{c}', '{c} 高清', '{c}HD', '{c} [1080p]', '{c}-标清']
with open(f'{work}/list.txt', 'w', encoding='utf-8') as out:
    for group in range(50):
        out.write(f'分组{group},#genre#\n')
        for channel in range(100):
            name = f'频道{group * 100 + channel}台'
            for line in range(20):
                spelled = random.choice(spellings).format(c=name)
                out.write(f'{spelled},http://h{line}.example.cn/{group}/{channel}/{line}.m3u8\n')
PY
# The history's tables come from nettv itself; then every line gets verdicts.
"$NETTV" channels "$WORK/list.txt" --dir "$WORK" --out "$WORK/empty.txt" >/dev/null
python3 - "$WORK" <<'PY'
import random, sqlite3, sys, time
work = sys.argv[1]
db = sqlite3.connect(f'{work}/health.db')
now = int(time.time() * 1000)
lines, verdicts = [], []
vid = 0
for lid, text in enumerate(open(f'{work}/list.txt', encoding='utf-8')):
    if '#genre#' in text:
        continue
    key = text.rstrip('\n').split(',', 1)[1]
    played = random.random() < 0.6
    for k in range(3):
        vid += 1
        verdicts.append((vid, lid + 1, now - k * 3600_000, 'playing' if played else 'failed',
                         '' if played else 'timed_out', 200, random.randint(200, 3000), 'hls',
                         'h264', 'aac', 1280, 720, 2_000_000, random.randint(500_000, 5_000_000),
                         0, 'check'))
    lines.append((lid + 1, key, now if played else None, None if played else now,
                  0 if played else 3, 3 if played else 0, 0 if played else 3,
                  None if played else now + 3600_000, vid))
db.executemany('INSERT INTO lines VALUES (?,?,?,?,?,?,?,?,?)', lines)
db.executemany('INSERT INTO verdicts VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)', verdicts)
db.commit()
print(f'{len(lines)} lines, {len(verdicts)} verdicts in the history')
PY
/usr/bin/time -f 'nettv channels: %e s wall, %U s user, %M KiB peak' \
  "$NETTV" channels "$WORK/list.txt" --dir "$WORK" --out "$WORK/best.txt" --m3u "$WORK/best.m3u" --keep 5
echo "$(grep -c '#genre#' "$WORK/best.txt") groups, $(grep -vc '#genre#' "$WORK/best.txt") lines written"
