"""The floors of src/: a folder includes only folders below it, and libmpv
stays inside the engines."""
import pathlib
import re
import unittest

SRC = pathlib.Path(__file__).resolve().parents[2] / 'src'

# Bottom to top; the window and the command line share the top floor.
FLOORS = [['base'], ['playlists'], ['history'], ['form'], ['library'], ['playback'],
          ['monitor'], ['search'], ['channels'], ['engines'], ['check'], ['app'],
          ['gui', 'cli']]
LEVEL = {folder: level for level, floor in enumerate(FLOORS) for folder in floor}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/', re.M)
MPV_INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]mpv/', re.M)
MPV_HANDLE = re.compile(r'\bmpv_handle\b')


def sources():
    for path in sorted(SRC.rglob('*')):
        if path.suffix in ('.h', '.cpp') and path.parent != SRC:
            yield path, path.relative_to(SRC).parts[0]


class IncludeFloorsTest(unittest.TestCase):
    def test_every_folder_has_a_floor(self):
        folders = {p.name for p in SRC.iterdir() if p.is_dir()}
        self.assertEqual(sorted(folders - LEVEL.keys()), [])

    def test_no_include_runs_up_or_across_a_floor(self):
        wrong = []
        for path, folder in sources():
            for target in INCLUDE.findall(path.read_text(errors='replace')):
                if target in LEVEL and target != folder and LEVEL[target] >= LEVEL[folder]:
                    wrong.append(f'{path.relative_to(SRC)} includes {target}/')
        self.assertEqual(wrong, [])

    def test_libmpv_stays_in_the_engines(self):
        wrong = []
        for path in sorted(SRC.rglob('*')):
            if path.suffix not in ('.h', '.cpp') or (SRC / 'engines') in path.parents:
                continue
            text = path.read_text(errors='replace')
            if MPV_INCLUDE.search(text):
                wrong.append(f'{path.relative_to(SRC)} includes a libmpv header')
            if path.suffix == '.h' and MPV_HANDLE.search(text):
                wrong.append(f'{path.relative_to(SRC)} names mpv_handle')
        self.assertEqual(wrong, [])


if __name__ == '__main__':
    unittest.main()
