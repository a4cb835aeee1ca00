"""The delivered station library: every entry can be told by its name."""
import pathlib
import sys
import unittest

ROOT = pathlib.Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / 'scripts'))
import make_library  # noqa: E402


class DistinctNamesTest(unittest.TestCase):
    def test_repeated_names_are_numbered_without_taking_a_real_name(self):
        stations = [('A', 'a1'), ('A', 'a2'), ('A 2', 'x'), ('B', 'b'), ('A', 'a3')]
        self.assertEqual(make_library.distinct_names(stations),
                         [('A', 'a1'), ('A 3', 'a2'), ('A 2', 'x'), ('B', 'b'), ('A 4', 'a3')])

    def test_delivered_library_has_no_repeated_name(self):
        text = (ROOT / 'data' / 'tv_lib.txt').read_bytes().decode('gbk')
        names = [line.split(',')[0] for line in text.split('\r\n') if line]
        repeated = sorted({n for n in names if names.count(n) > 1})
        self.assertEqual(repeated, [])


if __name__ == '__main__':
    unittest.main()
