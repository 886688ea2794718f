"""Tests of next_words.py on a tiny text: what is counted, what is kept and how it is written."""

import pathlib
import tempfile
import unittest

import next_words


class NextWordsTest(unittest.TestCase):
    def test_every_split_of_a_phrase_counts_after_the_hanzi_before_it(self):
        sources = {"a": "我打开文件。他打开文件", "b": "他打开文本"}
        events = next_words.count_events(sources, ["打开", "文件", "文本"])
        self.assertEqual(events[("开", "文")], {"件": 2, "本": 1})
        self.assertEqual(events[("打", "开")], {})  # 开 begins no phrase
        self.assertEqual(events[("他", "打")]["开"], 2)
        # A run's first hanzi has nothing before it: 我打开 counts nothing after 我.
        self.assertNotIn(("", "打"), events)
        self.assertEqual(events[("我", "打")]["开"], 1)

    def test_rare_events_and_thin_contexts_are_dropped(self):
        sources = {"a": "他打开文件。" * 2 + "他打开文本。"}
        table = next_words.prune(next_words.count_events(sources, ["打开", "文件", "文本"]))
        self.assertNotIn(("他", "打"), table)  # three events, fewer than four
        sources = {"a": "他打开文件。" * 4 + "他打开文本。"}
        table = next_words.prune(next_words.count_events(sources, ["打开", "文件", "文本"]))
        self.assertEqual(table[("他", "打")], [("开", 5)])
        self.assertEqual(table[("开", "文")], [("件", 4)])  # 本 once only

    def test_the_table_is_written_in_context_order(self):
        with tempfile.TemporaryDirectory() as folder:
            path = pathlib.Path(folder) / "next_words.txt"
            next_words.write_table({("开", "文"): [("件", 4), ("本", 2)], ("中", "文"): [("版", 3)]},
                                   path)
            lines = [line for line in path.read_text(encoding="utf-8").split("\n")
                     if line and not line.startswith("#")]
        self.assertEqual(lines, ["中\t文\t版:3", "开\t文\t件:4 本:2"])


if __name__ == "__main__":
    unittest.main()
