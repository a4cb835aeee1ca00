#!/usr/bin/env python3
"""Makes the station data delivered with nettv from a public M3U list.

Writes into the data folder: tv_lib.txt (every entry marked status="online",
repeated names numbered),
tv_lib_ss_jg_y.txt (the default result set: the first address of each of the
first 30 station names), gjz.txt (the default marker lists) and temp/ with a
local wrapper page offering an .asx list, and that list pointing at a library
address.

Usage: make_library.py [M3U] [DATA_DIR]
"""
import html
import pathlib
import sys
import unicodedata

ROOT = pathlib.Path(__file__).resolve().parent.parent
# The public list lies in the shared folder beside the repository.
DEFAULT_M3U = ROOT.parent / 'shared' / 'data' / 'cn.m3u'
DEFAULT_SET_SIZE = 30
MARKER_LINES = [
    '.mp3-.dat-.ram-.rm-mms:-rtsp:-.asx-.wmv-.',
    'http://;mms://;rtsp://;url=;value=',
    '.mp3;.dat;.ram;.rm;.asx;.wmv;";\';--;>',
]
WRAPPER_NAME = '本地网页示例'
ASX_NAME = '本地列表示例'


def gbk_safe(text):
    """Replaces characters GBK lacks by their unaccented letters."""
    out = []
    for ch in text:
        try:
            ch.encode('gbk')
            out.append(ch)
        except UnicodeEncodeError:
            base = unicodedata.normalize('NFKD', ch)
            out.append(''.join(c for c in base if c.isascii()) or '?')
    return ''.join(out)


def station_name(extinf):
    """The title of an #EXTINF line: the text after the attributes' comma."""
    in_quotes = False
    for i, ch in enumerate(extinf):
        if ch == '"':
            in_quotes = not in_quotes
        elif ch == ',' and not in_quotes:
            return extinf[i + 1:]
    return ''


def online_stations(m3u_text):
    lines = m3u_text.splitlines()
    stations = []
    for i, line in enumerate(lines[:-1]):
        if not line.startswith('#EXTINF') or 'status="online"' not in line:
            continue
        name = gbk_safe(station_name(line)).replace(',', ' ').replace('\t', ' ').strip()
        address = lines[i + 1].strip()
        if name and address and ',' not in address and not address.startswith('#'):
            stations.append((name, address))
    return stations


def distinct_names(stations):
    """Gives the second and later entries of a name a number ("name 2"), so
    that every entry of the list can be told by its name."""
    taken = {name for name, _ in stations}
    seen, out = {}, []
    for name, address in stations:
        count = seen.get(name, 0) + 1
        seen[name] = count
        if count > 1:
            while f'{name} {count}' in taken:
                count += 1
            seen[name] = count
            name = f'{name} {count}'
            taken.add(name)
        out.append((name, address))
    return out


def first_per_name(stations, count):
    chosen, seen = [], set()
    for name, address in stations:
        if name not in seen:
            seen.add(name)
            chosen.append((name, address))
        if len(chosen) == count:
            break
    return chosen


def write_lines(path, lines):
    path.write_bytes(''.join(line + '\r\n' for line in lines).encode('gbk'))


def station_lines(stations):
    return [f'{name},{address},' for name, address in stations]


def wrapper_page(name, asx_file):
    """A page offering the station through the .asx list beside it. The page
    scan skips a page's first link and takes the second, a media type, into
    the address box; the stream address itself stays out of the page, so the
    crawl has no further page to open."""
    name, asx_file = html.escape(name), html.escape(asx_file, quote=True)
    return f'''<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>{name}</title></head>
<body style="font-family:sans-serif;margin:24px">
<h2><a href="#" style="color:inherit;text-decoration:none">{name}</a></h2>
<p>播放列表：<a href="{asx_file}">{asx_file}</a></p>
<p>地址框已填入这个列表，按“播放”收看。</p>
</body></html>
'''


def asx_list(name, address):
    name, address = html.escape(name), html.escape(address, quote=True)
    return f'''<asx version="3.0">
  <title>{name}</title>
  <entry>
    <title>{name}</title>
    <ref href="{address}"/>
  </entry>
</asx>
'''


def main():
    m3u = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else DEFAULT_M3U
    data = pathlib.Path(sys.argv[2]) if len(sys.argv) > 2 else ROOT / 'data'
    stations = online_stations(m3u.read_text(encoding='utf-8'))
    (data / 'temp').mkdir(parents=True, exist_ok=True)
    write_lines(data / 'tv_lib.txt', station_lines(distinct_names(stations)))
    write_lines(data / 'tv_lib_ss_jg_y.txt',
                station_lines(first_per_name(stations, DEFAULT_SET_SIZE)))
    write_lines(data / 'gjz.txt', MARKER_LINES)
    name, address = stations[0]
    (data / 'temp' / f'{WRAPPER_NAME}.htm').write_text(
        wrapper_page(name, f'{ASX_NAME}.asx'), encoding='utf-8')
    (data / 'temp' / f'{ASX_NAME}.asx').write_text(asx_list(name, address),
                                                    encoding='utf-8')
    print(f'{len(stations)} stations written to {data}')


if __name__ == '__main__':
    main()
