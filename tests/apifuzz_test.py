#!/usr/bin/env python3
"""Tests of the script API fuzzer's driver (tools/fuzz/apifuzz.py): the
registry it reads from the sources, the scripts it generates, how it
classifies runs and how it minimises a failure. Run by ctest."""
import os
import re
import sys
import unittest

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
sys.path.insert(0, os.path.join(ROOT, "tools", "fuzz"))
import apifuzz  # noqa: E402


class Registry(unittest.TestCase):
    def test_matches_the_documented_table(self):
        with open(os.path.join(ROOT, "tests", "api_table.inc")) as f:
            table = re.findall(r'\{"(\w+)", (-?\d+), "((?:[^"\\]|\\.)*)"\}', f.read())
        api = apifuzz.load_registry()
        self.assertEqual([(f["name"], f["arity"]) for f in api], [(n, int(a)) for n, a, _ in table])
        self.assertEqual([f["usage"] for f in api], [u for _, _, u in table])

    def test_every_parameter_has_a_kind(self):
        kinds = {k for f in apifuzz.load_registry() for k, _ in f["params"]}
        self.assertEqual(kinds, {"integer", "number", "string", "boolean", "handle"})


class Generation(unittest.TestCase):
    api = apifuzz.load_registry()

    def test_a_seed_gives_the_same_script(self):
        a = apifuzz.generate(self.api, "s", 3, 50)
        self.assertEqual(a, apifuzz.generate(self.api, "s", 3, 50))
        self.assertNotEqual(a, apifuzz.generate(self.api, "s", 4, 50))

    def test_scripts_reach_every_function_but_the_input_waits(self):
        called = set()
        for i in range(40):
            called |= set(re.findall(r"\b[ck]\((\w+)", apifuzz.generate(self.api, "cover", i, 200)))
        expected = {f["name"] for f in self.api} - apifuzz.WAITS_FOR_INPUT
        self.assertEqual(expected - called, set())
        self.assertEqual(called & apifuzz.WAITS_FOR_INPUT, set())

    def test_file_names_stay_inside_the_run_directory(self):
        for i in range(20):
            script = apifuzz.generate(self.api, "paths", i, 200)
            for line in apifuzz.split_script(script)[1]:
                m = re.match(r".*[ck]\((open|makedir|removedir|changedir|deletefile|fileexists|directoryexists), (\"[^\"]*\")", line)
                if m:
                    self.assertFalse(m.group(2).startswith('"/') or ".." in m.group(2), line)

    def test_hostile_values_of_every_kind_appear(self):
        text = "".join(apifuzz.generate(self.api, "hostile", i, 200) for i in range(10))
        for value in ("0/0", "1/0", "-1/0", "2147483648", "-2147483649", "2^63", "2^64", "1e300", "BIG", '""',
                      "FOREIGN", "k("):
            self.assertIn(value, text)


class Tracking(unittest.TestCase):
    api = apifuzz.load_registry()

    def test_roles_follow_the_parameter_names(self):
        fn = {f["name"]: f for f in self.api}
        cases = [("drawsprite", 0, "sprite"), ("createsprite", 0, "image"), ("playsound", 0, "sound"),
                 ("playmusic", 0, "music"), ("closewindow", 0, "window"), ("bmptext", 3, "font"),
                 ("drawtile", 3, "font"), ("drawanimation", 0, "animation"), ("drawparticles", 0, "emitter"),
                 ("drawmovingparticles", 0, "emitter_s"), ("resumeemitter", 0, "emitter_s"),
                 ("finput", 0, "file_r"), ("fprint", 0, "file_w"), ("close", 0, "file"),
                 ("setsimpleparticleimage", 0, "sprite"), ("createbmpfont", 1, "tilesize"),
                 ("loadsprite", 0, "loadfile"), ("changedir", 0, "chdir"), ("system", 0, "command")]
        for name, i, role in cases:
            with self.subTest(name=name):
                kind, param = fn[name]["params"][i]
                self.assertEqual(apifuzz.role_of(name, kind, param), role)

    def test_freed_objects_and_sprites_of_closed_windows_go_dead(self):
        g = apifuzz.Generator(self.api, "track", 0, 0)
        g.fixed("openwindow", '"a"', "0", "0", "64", "64")      # v[1]
        g.fixed("setactivewindow", "v[1]")
        g.fixed("loadsprite", '"sheet.bmp"')                    # v[2], made on v[1]
        g.fixed("open", '"notes.txt"', '"r"')                  # v[3]
        self.assertEqual((g.live["sprite"], g.live["file_r"], g.live["file_w"]), ([2], [3], []))
        self.assertTrue(g.active_live())
        g.fixed("close", "v[3]")
        g.fixed("closewindow", "v[1]")
        self.assertEqual((g.live["sprite"], g.dead["sprite"]), ([], [2]))
        self.assertEqual((g.live["file"], g.live["file_r"], g.dead["file"]), ([], [], [3]))
        self.assertFalse(g.active_live())


class Reporting(unittest.TestCase):
    def test_plain_calls(self):
        script = apifuzz.generate(apifuzz.load_registry(), "plain", 0, 0)
        head, _ = apifuzz.split_script(script)
        small = head + 'v[4] = c(loadsprite, "font.bmp")\nk(sync)\nc(drawsprite, v[4], 1, 2, 1/0, 1, 0, nil, true)\n'
        self.assertEqual(apifuzz.plain_calls(small),
                         'v[4] = loadsprite("font.bmp")\nsync()  -- in a coroutine\n'
                         'drawsprite(v[4], 1, 2, 1/0, 1, 0, nil, true)')

    def test_end_reasons_group_alike_runs(self):
        cases = [("@@@", "", "returned"),
                 ("@@", "Error: No emitter available.\n", "Error: No emitter available."),
                 ("@An unhandled error occurred: Invalid file handle: 7\n", "",
                  "An unhandled error occurred: Invalid file handle: N"),
                 ("", 'File not found: Can\'t find sound file: "x"\n', 'File not found: Can\'t find sound file: "…"')]
        for out, err, reason in cases:
            with self.subTest(reason=reason):
                self.assertEqual(apifuzz.end_reason(out, err), reason)


ASAN_SEGV = """AddressSanitizer:DEADLYSIGNAL
=================================================================
==1==ERROR: AddressSanitizer: SEGV on unknown address 0x7f8e06271840 (pc 0x7f8dfa69c820 bp 0x10 sp 0x7ffd T0)
    #0 0x7f8dfa69c820  (/lib/x86_64-linux-gnu/libSDL2-2.0.so.0+0xd6820)
    #1 0x564145f3b2a4 in vorlune::graphics::DrawText(std::string const&, int, int) /src/graphics/text.cpp:54
"""
UBSAN = "/src/game/emitter.cpp:12:5: runtime error: signed integer overflow: 2147483647 + 1\n    #0 0x5 in vorlune::game::X() /a.cpp:1\n"
RSS = "==1==ERROR: AddressSanitizer: hard rss limit exhausted (1024Mb vs 1030Mb)\n"


class Classification(unittest.TestCase):
    def test_runs_are_classified(self):
        cases = [
            (0, "Error: No emitter available.\n", False, "end"),
            (217, "", False, "end"),
            (0, ASAN_SEGV, False, "sanitizer"),
            (1, UBSAN, False, "sanitizer"),
            (1, RSS, False, "memory"),
            (1, "==1==ERROR: AddressSanitizer: requested allocation size 0x7da67a88 exceeds maximum", False, "memory"),
            (-11, "", False, "signal"),
            (-9, "", True, "hang"),
            (3, "", False, "status"),
        ]
        for status, err, timed_out, expected in cases:
            with self.subTest(status=status, err=err[:40]):
                self.assertEqual(apifuzz.classify(status, err, timed_out)[0], expected)

    def test_signature_names_the_first_engine_frame(self):
        cls, kind, frames = apifuzz.classify(0, ASAN_SEGV, False)
        self.assertEqual(apifuzz.signature(cls, kind, frames),
                         "sanitizer | ERROR: AddressSanitizer: SEGV on unknown address ADDR | vorlune::graphics::DrawText")
        a = apifuzz.signature(*apifuzz.classify(1, UBSAN, False))
        b = apifuzz.signature(*apifuzz.classify(1, UBSAN.replace("2147483647 + 1", "5 + 2147483647"), False))
        self.assertEqual(a, b)
        self.assertIn("vorlune::game::X", a)

    def test_a_hang_is_named_by_the_call_it_stopped_in(self):
        script = apifuzz.generate(apifuzz.load_registry(), "hang", 0, 10)
        line = apifuzz.split_script(script)[1][2]
        self.assertEqual(apifuzz.signature("hang", "time limit", [], apifuzz.last_call(script, 3)),
                         "hang | time limit | last call " + re.search(r"[ck]\((\w+)", line).group(1))


class Minimising(unittest.TestCase):
    def test_ddmin_keeps_only_the_lines_that_matter(self):
        lines = ["line %d" % i for i in range(60)]
        fails = lambda subset: "line 7" in subset and "line 41" in subset  # noqa: E731
        self.assertEqual(apifuzz.ddmin(lines, fails), ["line 7", "line 41"])

    def test_minimise_keeps_the_support_block(self):
        script = apifuzz.generate(apifuzz.load_registry(), "min", 0, 30)
        head, calls = apifuzz.split_script(script)
        target = calls[20]
        small = apifuzz.minimise(script, lambda s: target in s)
        self.assertEqual(small, head + target + "\n")

    def test_a_script_that_does_not_fail_is_refused(self):
        script = apifuzz.generate(apifuzz.load_registry(), "min", 1, 5)
        with self.assertRaises(ValueError):
            apifuzz.minimise(script, lambda s: False)


if __name__ == "__main__":
    unittest.main()
