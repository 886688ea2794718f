"""Tests of the table writers: what they write is what the other scripts and the dictionary
builder read.

The host build's CTest runs them (test data_scripts) with the built tvime-dictbuild and
tvime-query in TVIME_DICTBUILD and TVIME_QUERY: small tables written by the scripts' own
functions are compiled by the builder and then asked for by the query tool, as the input method
would ask for them. Without those two variables the round trip through the C++ tools is skipped:

    python3 -B -m unittest discover -s tools/data -p "test_*.py"
"""

import ast
import os
import pathlib
import subprocess
import sys
import tempfile
import unittest

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))

import phrase_tables  # noqa: E402
import radical_tables  # noqa: E402
import refresh_data  # noqa: E402
from tables_common import GBK_HANZI_COUNT, CharEntry, DataError, read_words_table  # noqa: E402

# A few characters as the refresh sees them: stroke code, 通用规范汉字表 index (level 1 up to
# 3500 makes them common), readings. 〇 has no reading, so its line ends in an empty field; 中 and
# 重 share a syllable; 氵 and 亻 are uncommon and must follow the common block.
CHARS = {
    "中": ("sgas", 40, ("zhōng", "zhòng")),
    "人": ("df", 12, ("rén",)),
    "国": ("sgaasafa", 150, ("guó",)),
    "们": ("dsfsg", 300, ("mén", "men")),
    "民": ("gagag", 400, ("mín",)),
    "间": ("fsgsgaa", 700, ("jiān", "jiàn")),
    "水": ("sgdf", 200, ("shuǐ",)),
    "河": ("ffaasgas", 900, ("hé",)),
    "口": ("sga", 500, ("kǒu",)),
    "重": ("dasgaasaa", 350, ("chóng", "zhòng")),
    "〇": ("g", None, ()),
    "氵": ("ffa", None, ("shui",)),
    "亻": ("ds", None, ("rén",)),
}
# Weights chosen so that the order by weight differs from the order above and from code points,
# and uncommon 〇 outweighs common characters: the common block must still come first.
WEIGHTS = {"中": 60000, "人": 59000, "国": 58000, "们": 56000, "民": 55000, "间": 50000,
           "水": 53000, "河": 49000, "口": 54000, "重": 54900, "〇": 57000, "氵": 25300,
           "亻": 25200}
PHRASES = ("中国", "我们", "人民", "中间", "国民")
READINGS = {"中国": ("zhong", "guo"), "我们": ("wo", "men"), "人民": ("ren", "min"),
            "中间": ("zhong", "jian"), "国民": ("guo", "min")}


def char_entries():
    """The fixture's character table, ordered by the refresh's own rule."""
    chars = list(CHARS)
    return refresh_data.build_char_entries(
        chars,
        codes={c: CHARS[c][0] for c in chars},
        tgh_index={c: CHARS[c][1] for c in chars if CHARS[c][1] is not None},
        weights=WEIGHTS,
        readings={c: CHARS[c][2] for c in chars})


def form(number, char, code, kangxi, note):
    return radical_tables.Form(number, char, code, kangxi, note, serves=(), kind="kangxi")


# Radical forms in list order, and which characters each group holds with the rest of their code.
FORMS = (form(241, "氵", "ffa", 85, "left form"), form(30, "口", "sga", 30, "Kangxi: mouth"),
         form(9, "人", "df", 9, "Kangxi: man"), form(242, "亻", "ds", 9, "left form"),
         form(85, "水", "sgdf", 85, "Kangxi: water"),
         form(31, "囗", "sga", 31, "Kangxi: enclosure"))
MEMBERS = {241: (("河", "prefix", "asgas"),), 242: (("们", "prefix", "fsg"),),
           9: (("人", "own form", ""),), 30: (("口", "own form", ""),),
           31: (("国", "enclosure", "aasaf"),), 85: (("水", "own form", ""),)}


def radical_groups():
    forms = {f.number: f for f in FORMS}
    groups = {number: [radical_tables.Placement(char, forms[number], position, rest)
                       for char, position, rest in members]
              for number, members in MEMBERS.items()}
    return forms, groups


def write_fixture_tables(folder):
    """Writes the five tables with the scripts' writers, as refresh.sh would name them."""
    words = char_entries()
    refresh_data.write_words(folder / "words.txt", words)
    phrase_tables.write_phrases(folder / "phrases.txt", PHRASES, READINGS)
    phrase_tables.write_pinyin(folder / "pinyin.txt", phrase_tables.chars_by_syllable(words).chars)
    forms, groups = radical_groups()
    radical_tables.write_radicals(folder / "radicals.txt", FORMS)
    radical_tables.write_groups(folder / "radical_groups.txt", forms, groups, FORMS)
    return words


def records(path):
    """The data lines of a written table, split at tabs, as the builder splits them."""
    data = path.read_bytes()
    assert b"\r" not in data, f"{path} has CR line ends"
    return [line.split("\t") for line in data.decode("utf-8").split("\n")
            if line and not line.startswith("#")]


class TemporaryFolderTest(unittest.TestCase):
    def setUp(self):
        scratch = tempfile.TemporaryDirectory(prefix="tvime-tables-")
        self.addCleanup(scratch.cleanup)
        self.folder = pathlib.Path(scratch.name)


class WordsTableTest(TemporaryFolderTest):
    def test_full_table_reads_back_as_written(self):
        chars = refresh_data.gbk_hanzi()
        # Every shape a line can take: with no reading, one, several; common or not.
        readings = [(), ("zhōng",), ("zhōng", "zhòng"), ("ḿ", "wǔ", "m̄")]
        entries = [CharEntry(char, "asdfg"[i % 5] * (1 + i % 7), i % 3 == 0, i % 65536,
                             readings[i % len(readings)])
                   for i, char in enumerate(chars)]
        refresh_data.write_words(self.folder / "words.txt", entries)
        self.assertEqual(read_words_table(self.folder / "words.txt"), entries)

    def test_table_short_of_the_gbk_set_is_refused(self):
        refresh_data.write_words(self.folder / "words.txt", char_entries())
        with self.assertRaisesRegex(DataError, f"has {len(CHARS)} characters"):
            read_words_table(self.folder / "words.txt")

    def test_every_line_has_the_five_fields_the_builder_expects(self):
        words = char_entries()
        refresh_data.write_words(self.folder / "words.txt", words)
        lines = records(self.folder / "words.txt")
        self.assertEqual([line[0] for line in lines], [e.char for e in words])
        for line in lines:
            self.assertEqual(len(line), 5, line)
        self.assertEqual(dict((line[0], line[4]) for line in lines)["〇"], "")

    def test_common_characters_come_first(self):
        flags = [line[2] for line in records_of_written(self.folder, "words.txt")]
        self.assertEqual(flags, sorted(flags, reverse=True))
        self.assertIn("0", flags)


def records_of_written(folder, name):
    write_fixture_tables(folder)
    return records(folder / name)


class PhraseAndPinyinTablesTest(TemporaryFolderTest):
    def test_phrases_keep_their_order_and_one_syllable_per_character(self):
        lines = records_of_written(self.folder, "phrases.txt")
        self.assertEqual([line[0] for line in lines], list(PHRASES))
        for text, syllables in lines:
            self.assertEqual(tuple(syllables.split(" ")), READINGS[text])

    def test_pinyin_has_every_syllable_of_the_engine_in_its_order(self):
        lines = records_of_written(self.folder, "pinyin.txt")
        self.assertEqual([line[0] for line in lines], list(phrase_tables.SYLLABLES))
        chars = {syllable: text for syllable, text in lines}
        self.assertEqual(chars["zhong"], "中重")  # words.txt order, 中 once for two readings
        self.assertEqual(chars["ren"], "人亻")
        self.assertEqual(chars["a"], "")


class RadicalTablesTest(TemporaryFolderTest):
    def test_radicals_are_written_in_list_order(self):
        lines = records_of_written(self.folder, "radicals.txt")
        self.assertEqual([(int(n), f, c) for n, f, c, _, _ in lines],
                         [(f.number, f.form, f.code) for f in FORMS])

    def test_groups_ascend_with_characters_before_links(self):
        lines = records_of_written(self.folder, "radical_groups.txt")
        numbers = [int(line[0]) for line in lines]
        self.assertEqual(numbers, sorted(numbers))
        for number in set(numbers):
            kinds = [line[1].startswith("@") for line in lines if int(line[0]) == number]
            self.assertEqual(kinds, sorted(kinds), f"group {number}")
        self.assertIn(["241", "河", "asgas"], lines)
        self.assertIn(["241", "@85", "sgdf"], lines)
        self.assertIn(["85", "@241", "ffa"], lines)


class ScriptsTest(TemporaryFolderTest):
    def test_no_two_scripts_import_each_other(self):
        scripts = {p.stem: p for p in HERE.glob("*.py") if not p.stem.startswith("test_")}
        imports = {}
        for name, path in scripts.items():
            tree = ast.parse(path.read_text(encoding="utf-8"))
            found = set()
            for node in ast.walk(tree):
                if isinstance(node, ast.ImportFrom) and node.module:
                    found.add(node.module)
                elif isinstance(node, ast.Import):
                    found.update(alias.name for alias in node.names)
            imports[name] = found & set(scripts)

        def reaches(start, goal, seen=()):
            return any(m == goal or (m not in seen and reaches(m, goal, (*seen, m)))
                       for m in imports[start])

        for name in scripts:
            self.assertFalse(reaches(name, name), f"{name} imports itself through {imports[name]}")
        self.assertIn("tables_common", imports["tuning_text"])

    def test_refused_tuning_folder_ends_in_one_line(self):
        evaluation = self.folder / "evaluation"
        evaluation.mkdir()
        run = subprocess.run(
            [sys.executable, "-B", str(HERE / "refresh_data.py"), "--sources", str(self.folder),
             "--essay-simplified", str(self.folder / "none"), "--tuning", str(evaluation),
             "--out", str(self.folder / "out")],
            capture_output=True, text=True, timeout=60)
        self.assertEqual(run.returncode, 1)
        self.assertEqual(run.stderr.splitlines(),
                         [f"refresh_data.py: {evaluation} is not a corpus's tuning part; "
                          "the evaluation part must not shape the tables"])


@unittest.skipUnless(os.environ.get("TVIME_DICTBUILD") and os.environ.get("TVIME_QUERY"),
                     "TVIME_DICTBUILD and TVIME_QUERY name the built C++ tools")
class BuilderReadsTablesTest(unittest.TestCase):
    """The written tables go through tvime-dictbuild; tvime-query then reads the dictionaries."""

    RESOURCES = (("words", ("words.txt",), "words.bin"),
                 ("phrases", ("phrases.txt",), "phrase.bin"),
                 ("pinyin", ("pinyin.txt", "words.txt"), "WDPINYIN.BIN"),
                 ("radicals", ("radicals.txt",), "pianpang.bin"),
                 ("groups", ("radical_groups.txt",), "extra.bin"))

    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.TemporaryDirectory(prefix="tvime-tables-")
        folder = pathlib.Path(cls.scratch.name)
        (folder / "dict").mkdir()
        cls.words = write_fixture_tables(folder)
        for command, tables, resource in cls.RESOURCES:
            build = subprocess.run(
                [os.environ["TVIME_DICTBUILD"], command, *(str(folder / t) for t in tables),
                 str(folder / "dict" / resource)], capture_output=True, text=True, timeout=60)
            if build.returncode != 0:
                cls.scratch.cleanup()
                raise AssertionError(f"tvime-dictbuild {command}: {build.stderr}")
        cls.dict = folder / "dict"

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    def query(self, *words):
        run = subprocess.run([os.environ["TVIME_QUERY"], "--dict", str(self.dict), *words],
                             capture_output=True, text=True, timeout=60)
        self.assertEqual(run.returncode, 0, run.stderr)
        return [line.split("\t") for line in run.stdout.splitlines()]

    def test_every_character_is_found_by_its_code_with_its_weight(self):
        for entry in self.words:
            listed = self.query("--big", "strokes", entry.code)
            self.assertIn([entry.char, entry.code, str(entry.weight)],
                          [line[1:] for line in listed], entry)

    def test_uncommon_characters_stay_out_of_the_common_search(self):
        for entry in self.words:
            listed = [line[1] for line in self.query("strokes", entry.code)]
            self.assertEqual(entry.char in listed, entry.common, entry)

    def test_pinyin_lists_the_characters_of_a_syllable_with_their_readings(self):
        listed = [line[1:] for line in self.query("pinyin", "zhong") if not line[0].startswith("#")]
        self.assertEqual(sorted(listed),
                         sorted([["中", "zhōng zhòng"], ["重", "chóng zhòng"]]))

    def test_association_offers_the_phrases_in_table_order(self):
        listed = [line[1] for line in self.query("assoc", "中") if not line[0].startswith("#")]
        self.assertEqual(listed, [p for p in PHRASES if p.startswith("中")])

    def test_phrases_are_found_by_the_strokes_of_their_characters(self):
        codes = {e.char: e.code for e in self.words}
        for phrase in ("人民", "国民"):
            # The first character by its code, the next by its first stroke, as a user types.
            lines = self.query("phrases", f"{codes[phrase[0]]}'{codes[phrase[1]][0]}")
            phrases = [line[1] for line in lines[lines.index(["# phrases"]) + 1:]]
            self.assertIn(phrase, phrases)

    def test_radicals_are_found_by_their_codes(self):
        for f in FORMS:
            listed = [line[1:] for line in self.query("radicals", f.code)]
            self.assertIn([str(f.number), f.code], listed)

    def test_a_group_holds_its_characters_and_links(self):
        lines = self.query("group", "241")
        links = lines.index(["# links"])
        self.assertEqual([line[1:3] for line in lines[:links]], [["河", "asgas"]])
        self.assertEqual([line[1:] for line in lines[links + 1:]], [["85", "sgdf"]])


if __name__ == "__main__":
    unittest.main()
