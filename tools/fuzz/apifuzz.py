#!/usr/bin/env python3
"""Random-call fuzzer for the script API of the interpreter.

Every registered script function is called with hostile values for its
argument kinds, in scripts generated from a seed, and every run is classified:

  end        status 0 or 217 and no sanitizer report: the run ended as the
             interpreter documents it (normal end, message box, unhandled error)
  sanitizer  an AddressSanitizer / UndefinedBehaviorSanitizer report on stderr
  memory     the memory limit was hit (sanitizer RSS limit or failed allocation)
  signal     killed by a signal (a crash of a build without sanitizers)
  hang       still running when the time limit ran out
  status     any other exit status

The registry (names, argument counts and kinds) is read from the sources: the
rows of the script API table and the C++ signatures of the engine functions
behind them, so a new function is fuzzed as soon as it is registered.

Commands (see docs/testing.md):
  apifuzz.py run      a campaign: --seed, --scripts, --calls, --jobs, --exe
  apifuzz.py gen      print the script of one seed and index
  apifuzz.py repro    run one script file and print its classification
  apifuzz.py min      shrink a failing script to the calls that keep the failure
  apifuzz.py registry print the registry as the fuzzer sees it
"""
import argparse
import concurrent.futures
import json
import os
import random
import re
import resource
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tools"))

# ---------------------------------------------------------------------------
# Registry


KIND_OF_TYPE = {
    "int32_t": "integer",
    "double": "number",
    "bool": "boolean",
    "ObjectHandle": "handle",
    "std::string": "string",
    "std::string_view": "string",
}

ROW = re.compile(r'Row<"((?:[^"\\]|\\.)*)",\s*([A-Za-z_][\w:]*)>\("(\w+)"\)')
DECL = re.compile(r"^(?:[\w:<>]+)[ *&]+(\w+)\(([^)]*)\);", re.M)


def _param(text, handle_types):
    """'const std::string& caption' -> ('string', 'caption'); an engine object
    type that resolves a handle ('Sprite sprite') is a handle."""
    text = text.strip()
    name = re.search(r"(\w+)\s*$", text).group(1)
    kind_text = text[: -len(name)].replace("const", "").replace("&", "").strip()
    if kind_text.split("::")[-1] in handle_types:
        return "handle", name
    if kind_text not in KIND_OF_TYPE:
        raise ValueError("unknown parameter type in %r" % text)
    return KIND_OF_TYPE[kind_text], name


def _sources(src, suffix):
    for dirpath, _, files in sorted(os.walk(src)):
        for f in sorted(files):
            if f.endswith(suffix):
                with open(os.path.join(dirpath, f), encoding="utf-8") as fh:
                    yield os.path.join(dirpath, f), fh.read()


def load_registry(src=os.path.join(ROOT, "src")):
    """The script API in registration order: dicts with name, usage, params
    (list of (kind, parameter name)) and arity (-1: no parameters)."""
    rows = []
    for _, text in _sources(src, ".cpp"):
        rows += ROW.findall(text)
    if not rows:
        raise RuntimeError("no script API rows found under " + src)
    decls, handle_types = {}, set()
    for _, text in _sources(src, ".hpp"):
        handle_types |= set(re.findall(r"static (\w+) Resolve\(ObjectHandle", text))
    for path, text in _sources(src, ".hpp"):
        ns = re.search(r"^namespace vorlune::([\w:]+)", text, re.M)  # nested namespaces stay whole
        for m in DECL.finditer(text):
            params = [p for p in re.sub(r"\s+", " ", m.group(2)).split(",") if p.strip()]
            decls.setdefault(m.group(1), []).append((ns.group(1) if ns else "", params))
    api = []
    for usage, function, name in rows:
        ns, _, short = function.rpartition("::")
        found = [p for n, p in decls.get(short, []) if not ns or n == ns.split("::")[-1]]
        if len(found) != 1:
            raise RuntimeError("cannot find one declaration of %s for %s" % (function, name))
        params = [_param(p, handle_types) for p in found[0]]
        api.append({"name": name, "usage": usage, "params": params,
                    "arity": len(params) if params else -1})
    return api


# ---------------------------------------------------------------------------
# Script generation

# Functions that wait for a key or a typed line: without a display no event
# ever arrives, so they would block every run for good.
WAITS_FOR_INPUT = {"inkey", "input", "bmpinput"}

SUPPORT = r'''-- Calls go through c (protected) or k (protected, inside a coroutine);
-- each prints "@" first so the driver can count the calls a run reached.
v = {}
BIG = string.rep("A", 1048576)
NUL = "ab\0cd"
ALL = (function() local t = {} for i = 1, 255 do t[i] = string.char(i) end return table.concat(t) end)()
CHARS = " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~"
FOREIGN = io.stdout
io.stdout:setvbuf("no")
local function c(f, ...) io.write("@") local ok, r = pcall(f, ...) if ok then return r end end
local function k(f, ...)
  io.write("@")
  local co = coroutine.create(function(...) return f(...) end)
  local ok, r = coroutine.resume(co, ...)
  if ok then return r end
end
'''
CALLS_MARK = "-- calls"

INT_EDGES = ["0", "1", "-1", "2", "255", "256", "-255", "32767", "-32768", "65535", "65536",
             "2147483647", "-2147483648", "2147483648", "-2147483649", "4294967295", "4294967296",
             "2^53", "2^63", "-(2^63)", "2^64", "1e300", "-1e300", "0/0", "1/0", "-1/0", "0.5", "-0.5",
             "1e-300", '"12"', '"0x10"', '"abc"', '" 7 "', "nil", "true", "false", "{}", "FOREIGN", "print"]
NUM_EDGES = INT_EDGES + ["1e308", "-1e308", "5e-324", "-0.0", "math.pi", "720.25", "-359.9", "1e10", "1000",
                         "0.001", "-1000"]
STR_EDGES = ['""', "BIG", "NUL", "ALL", "CHARS", '"%s%s%n%d"', '"\\255\\254\\128"', '"1e309"', '"-0x7fffffff"',
             '"  42  "', '"inf"', '"nan"', '"-nan"', '"1e-400"', 'string.rep("9", 400)', '"12"', '"-"', '"."',
             '"e5"', '"0x"', '"1.5e+"', '"\\n\\r\\t"', "0", "-1", "1e300", "0/0", "nil", "true", "{}", "FOREIGN"]
NON_FINITE = ["0/0", "1/0", "-1/0"]
BOOL_EDGES = ["true", "false", "nil", "0", '""', "{}"]
# Names the file functions may create, write and delete: all inside the run's
# directory, never an asset the other calls need.
SAFE_PATHS = ['"f1.txt"', '"f2.txt"', '"d1"', '"d1/d2"', '"d1/f.txt"', '"missing.txt"', '""',
              '" "', "NUL", '"f1.txt\\0x"', '"d1/d2/d3/d4"', 'string.rep("n", 300)', "BIG"]
READ_FILES = ['"notes.txt"', '"sheet.bmp"', '"sound.wav"']
LOAD_FILES = ['"sheet.bmp"', '"font.bmp"', '"sound.wav"', '"music.wav"']
BAD_LOAD_FILES = ['"notes.txt"', '"missing.bmp"', '""', "NUL", "BIG", '"d1"', '"sheet.bmp\\0x"']
COMMANDS = ['"true"', '"false"', '"echo hello world"', '"printf a\\\\rb\\\\r\\\\nc"',
            '"head -c 200000 /dev/zero"', '"sh -c \'echo err 1>&2; exit 3\'"', '"echo \'un terminated"']
BAD_COMMANDS = ['"no_such_program_x"', '""', '"   "']
MODES = ['"r"', '"w"', '"a"', '"R"', '"W"', '"A"', '"x"', '""', '"rw"', "NUL"]
QUALITY = ['"0"', '"1"', '"2"', '"nearest"', '"linear"', '"best"']
PARTICLE_TYPES = ['"FILLCIRCLE"', '"CIRCLE"', '"FILLBOX"', '"BOX"', '"DOT"', '"IMAGE"', '"fillcircle"']
PARTICLE_FLAGS = ['"RANDOM"', '"NORMAL"', '"random"']

# Relative weights; functions not named here weigh 1.
WEIGHTS = {
    "drawsprite": 6, "drawspritepart": 6, "drawanimation": 4, "bmptext": 4, "drawtile": 3, "drawparticles": 3,
    "drawmovingparticles": 2, "openwindow": 2, "setactivewindow": 2, "closewindow": 1.5, "setvirtualsize": 3,
    "resizewindow": 2, "freesprite": 1.5, "freeimage": 1.5, "loadsprite": 2, "createsprite": 2, "fillellipse": 2,
    "ellipse": 2, "fillcircle": 2, "circle": 2, "filltriangle": 2, "line": 2, "fillrectangle": 2,
    "bmpfontangle": 2, "bmpfontsize": 2, "createsimpleparticles": 2, "updatesimpleparticles": 2,
    "closeapplication": 0.05, "togglefullscreen": 0.3, "sync": 0.5, "messagebox": 0.3, "system": 0.3,
}

HANDLE_ROLES = ("sprite", "image", "sound", "music")
# What each creating call makes, and what each freeing call destroys.
MADE = {"openwindow": "window", "loadsprite": "sprite", "createsprite": "sprite", "loadimage": "image",
        "loadsound": "sound", "loadmusic": "music", "createbmpfont": "font", "tileset": "font",
        "createanimation": "animation", "createemitter": "emitter", "open": "file"}
FREED = {"freesprite": "sprite", "freeimage": "image", "freesound": "sound", "freemusic": "music",
         "closewindow": "window", "close": "file", "freeemitter": "emitter"}
NEEDS_RENDERER = {"loadsprite", "createsprite"}


def role_of(name, kind, param):
    """What a parameter names, for picking live values: 'sprite', 'window', ..."""
    p = param.lower()
    if kind == "handle":
        if name == "setsimpleparticleimage":
            return "sprite"  # the sprite the IMAGE type draws
        for r in HANDLE_ROLES:
            if r in p:
                return r
        return "sprite"
    if kind == "integer":
        if p == "window":
            return "window"
        if p == "file":
            return {"finput": "file_r", "eof": "file_r", "fprint": "file_w"}.get(name, "file")
        if "font" in p or p == "tileset":
            return "font"
        if "emitter" in p:
            return "emitter_s" if name in ("drawmovingparticles", "resumeemitter") else "emitter"
        if "animation" in p:
            return "animation"
        if name == "wait":
            return "wait"
        if name in ("createbmpfont", "tileset") and p.startswith("tile"):
            return "tilesize"
        if name == "openwindow" and p in ("w", "h"):
            return "winsize"
        if name == "setframetimer":
            return "frames"
        return "int"
    if kind == "string":
        if name in ("loadsprite", "loadimage", "loadsound", "loadmusic"):
            return "loadfile"
        if name == "system":
            return "command"
        if name == "open":
            return "mode" if p == "mode" else "path"
        if name == "changedir":
            return "chdir"
        if name in ("fileexists", "directoryexists", "makedir", "removedir", "deletefile"):
            return "path"
        if p == "fontface":
            return "charset"
        if name == "setscalequality":
            return "quality"
        if name == "setsimpleparticletype":
            return "ptype"
        if name == "setsimpleparticlesize":
            return "pflag"
        return "text"
    return kind


# Slots whose bad values end the run at once (a box or an unhandled error):
# they get a good value unless the script's risk says otherwise, so runs get
# deep. Every script draws its risk from RISKS.
GUARDED = {"font", "emitter", "emitter_s", "animation", "file", "file_r", "file_w"}
RISKS = [0.0, 0.002, 0.01, 0.03]
ENDS_RUN = GUARDED | {"loadfile", "tilesize", "winsize", "chdir", "command", "sound", "image"}
POOLS = ("sprite", "image", "sound", "music", "window", "font", "emitter", "emitter_s", "animation",
         "file", "file_r", "file_w")


class Generator:
    def __init__(self, api, seed, index, calls):
        self.api = [f for f in api if f["name"] not in WAITS_FOR_INPUT]
        self.fn = {f["name"]: f for f in api}
        self.rng = random.Random("%s:%s" % (seed, index))
        self.calls = calls
        self.slots = 0
        self.live = {r: [] for r in POOLS}
        self.dead = {r: [] for r in self.live}
        self.owner = {}  # sprite slot -> window slot it was made on
        self.active = None
        self.risk = self.rng.choice(RISKS)
        self.weights = [WEIGHTS.get(f["name"], 1.0) for f in self.api]

    # -- values ------------------------------------------------------------
    def small_int(self):
        r = self.rng.random()
        if r < 0.5:
            return str(self.rng.randint(-20, 400))
        if r < 0.8:
            return str(self.rng.randint(-5000, 5000))
        return str(self.rng.randint(-2 ** 31, 2 ** 31 - 1))

    def number(self):
        r = self.rng.random()
        if r < 0.4:
            return repr(round(self.rng.uniform(-4, 4), 3))
        if r < 0.65:
            return repr(round(self.rng.uniform(-720, 720), 6))
        if r < 0.75:
            return self.rng.choice(NON_FINITE)
        return self.rng.choice(NUM_EDGES)

    def any_value(self):
        pool = self.rng.choice([INT_EDGES, NUM_EDGES, STR_EDGES, BOOL_EDGES])
        if self.rng.random() < 0.3:
            return self.live_or_dead(self.rng.choice(list(self.live)))
        return self.rng.choice(pool)

    def live_or_dead(self, role):
        r = self.rng.random()
        if self.live[role] and r < 0.75:
            return "v[%d]" % self.rng.choice(self.live[role])
        if self.dead[role] and r < 0.9:
            return "v[%d]" % self.rng.choice(self.dead[role])
        return self.rng.choice(INT_EDGES if role not in HANDLE_ROLES else ["nil", "FOREIGN", "0", '"x"'])

    def value(self, name, kind, param):
        rng = self.rng
        role = role_of(name, kind, param)
        if role in GUARDED and self.live[role] and rng.random() >= self.risk:
            return "v[%d]" % rng.choice(self.live[role])
        safe = rng.random() >= self.risk
        if role == "wait":
            return str(rng.randint(0, 15))
        if role == "tilesize" and safe:
            return rng.choice(["8", "16", "1", "3", "-8", "100", "65536", "2147483647", "-2147483648"])
        if role == "winsize" and safe:
            return str(rng.choice([1, 2, 16, 100, 200, 293, 320, 465, 640, 1024, 2000]))
        if role == "chdir" and safe:
            return rng.choice(['"."', '""'])
        if (name, role) in (("playsound", "sound"), ("createsprite", "image")) and safe and self.live[role]:
            return "v[%d]" % rng.choice(self.live[role])
        if role == "frames":
            return rng.choice(["30", "60", "100", "1000", "1001", "2000", "-1", "-2147483648", "2147483647"])
        if rng.random() < 0.08 and (not safe or role not in ENDS_RUN):
            return self.any_value()
        if kind == "handle":
            r = rng.random()
            if r < 0.6 and self.live[role]:
                return "v[%d]" % rng.choice(self.live[role])
            if r < 0.75:
                other = rng.choice([x for x in HANDLE_ROLES if x != role])
                if self.live[other]:
                    return "v[%d]" % rng.choice(self.live[other])
            if r < 0.88 and self.dead[role]:
                return "v[%d]" % rng.choice(self.dead[role])
            return rng.choice(["nil", "FOREIGN", "0", '"sprite"', "v[%d]" % rng.randint(1, max(1, self.slots))])
        if role in ("window", "font", "emitter", "animation", "file"):
            return self.live_or_dead(role)
        if kind == "integer":
            return self.small_int() if rng.random() < 0.75 else rng.choice(INT_EDGES)
        if kind == "number":
            return self.number()
        if kind == "boolean":
            return rng.choice(BOOL_EDGES)
        pools = {"loadfile": (LOAD_FILES[:2] if name in ("loadsprite", "loadimage") else LOAD_FILES[2:])
                 if rng.random() >= self.risk else BAD_LOAD_FILES,
                 "command": COMMANDS if safe else BAD_COMMANDS, "path": SAFE_PATHS, "quality": QUALITY + STR_EDGES[:4],
                 "ptype": PARTICLE_TYPES + ['""', "BIG"], "pflag": PARTICLE_FLAGS + ['""', "NUL"],
                 "charset": ["CHARS", "CHARS", '"ABCDEFGH"', '""', "ALL", "BIG", '"AAAA"']}
        if role == "mode":
            return rng.choice(MODES)
        if role == "chdir":
            return rng.choice(SAFE_PATHS)
        if role in pools:
            return rng.choice(pools[role])
        if rng.random() < 0.5:
            return '"%s"' % "".join(rng.choice("ABCxyz019 #~-") for _ in range(rng.randint(0, 12)))
        return rng.choice(STR_EDGES)

    # -- calls -------------------------------------------------------------
    def new_slot(self):
        self.slots += 1
        return self.slots

    def record(self, f, args, slot):
        """Track what a call made or destroyed (a guess: the call may have
        failed, which is fine for a fuzzer)."""
        name = f["name"]
        first = int(args[0][2:-1]) if args and re.fullmatch(r"v\[\d+\]", args[0]) else None
        if slot is not None:
            roles = [MADE[name]]
            if name == "open":
                mode = args[1].strip('"').lower() if len(args) > 1 else ""
                roles.append({"r": "file_r", "w": "file_w", "a": "file_w"}.get(mode, "file"))
            if name == "createemitter" and len(args) > 2 and args[2] not in ("false", "nil"):
                roles.append("emitter_s")
            for role in roles:
                if role not in self.live[role]:
                    self.live[role].append(slot)
            if name in ("loadsprite", "createsprite"):
                self.owner[slot] = self.active
        if name in FREED and first is not None:
            for role in [FREED[name]] + {"file": ["file_r", "file_w"], "emitter": ["emitter_s"]}.get(FREED[name], []):
                if first in self.live[role]:
                    self.live[role].remove(first)
                    self.dead[role].append(first)
            if name == "closewindow":
                for sp, w in list(self.owner.items()):
                    if w == first and sp in self.live["sprite"]:
                        self.live["sprite"].remove(sp)
                        self.dead["sprite"].append(sp)
        if name == "setactivewindow":
            self.active = first

    def active_live(self):
        return self.active is not None and self.active in self.live["window"]

    def call_line(self, f, args=None, wrapper="c"):
        creates = f["name"] in MADE
        if args is None:
            args = [self.value(f["name"], k, p) for k, p in f["params"]]
            if f["name"] == "open" and args[1].strip('"').lower() == "r" and self.rng.random() >= self.risk:
                args[0] = self.rng.choice(READ_FILES)  # a missing file ends the run
            r = self.rng.random()
            if r < 0.03 and args:
                args = args[:-1]                       # one argument short
            elif r < 0.06:
                args = args + [self.any_value()]       # one too many
            if self.rng.random() < 0.1:
                wrapper = "k"
        slot = self.new_slot() if creates else None
        text = "%s(%s)" % (wrapper, ", ".join([f["name"]] + args))
        self.record(f, args, slot)
        return ("v[%d] = " % slot + text) if slot else text

    def fixed(self, name, *args):
        return self.call_line(self.fn[name], list(args))

    def pick(self):
        """A function to call next. Making a sprite without a live active
        window ends the run, so that waits for the script's risk."""
        while True:
            f = self.rng.choices(self.api, self.weights)[0]
            if self.rng.random() < self.risk * 10:
                return f
            if f["name"] in NEEDS_RENDERER and not self.active_live():
                continue
            roles = {role_of(f["name"], k, p) for k, p in f["params"]}
            if any(not self.live[r] for r in roles & GUARDED):
                continue
            if f["name"] == "createsprite" and not self.live["image"]:
                continue
            return f

    def script(self, seed, index):
        lines = ["-- apifuzz seed %s script %s" % (seed, index), SUPPORT, CALLS_MARK]
        # A starting set of live objects of every kind, made by ordinary calls
        # (the minimiser drops the ones a failure does not need).
        lines.append(self.fixed("openwindow", '"fuzz"', "-1", "-1", str(self.rng.choice([160, 320, 640])),
                                str(self.rng.choice([120, 240, 480]))))
        lines.append(self.fixed("setactivewindow", "v[1]"))
        lines.append(self.fixed("loadsprite", '"sheet.bmp"'))
        lines.append(self.fixed("loadimage", '"sheet.bmp"'))
        lines.append(self.fixed("loadsprite", '"font.bmp"'))
        lines.append(self.fixed("createbmpfont", "v[4]", "8", "8", "CHARS"))
        lines.append(self.fixed("tileset", "v[3]", "16", "16", '"ABCDEFGH"'))
        lines.append(self.fixed("createanimation", "v[2]", "16", "16", "0", "7", "20", "1", "-1"))
        lines.append(self.fixed("createemitter", "40", "500", "true"))
        lines.append(self.fixed("createemitter", "20", "300", "false"))
        lines.append(self.fixed("createparticles", "v[9]", "50", "50", "0", "360", "3", "0"))
        lines.append(self.fixed("loadsound", '"sound.wav"'))
        lines.append(self.fixed("loadmusic", '"music.wav"'))
        lines.append(self.fixed("open", '"f1.txt"', '"w"'))
        lines.append(self.fixed("open", '"notes.txt"', '"r"'))
        for _ in range(self.calls):
            lines.append(self.call_line(self.pick()))
        return "\n".join(lines) + "\n"


def generate(api, seed, index, calls):
    return Generator(api, seed, index, calls).script(seed, index)


# ---------------------------------------------------------------------------
# Running and classifying


def write_assets(directory):
    """A 64x32 sprite sheet of 16x16 frames, a 128x48 font sheet of 8x8 cells,
    a short sound, a music loop and a text file."""
    from make_demo_sprites import write_bmp
    from make_sounds import write_wav
    import math
    write_bmp(os.path.join(directory, "sheet.bmp"), 64, 32,
              lambda x, y: ((x * 4) & 255, (y * 8) & 255, 255 if (x // 16 + y // 16) % 2 else 0))
    write_bmp(os.path.join(directory, "font.bmp"), 128, 48,
              lambda x, y: (255, 255, 255) if (x * 7 + y * 3) % 5 < 2 else (0, 0, 0))
    write_wav(os.path.join(directory, "sound.wav"), [math.sin(i / 8.0) for i in range(2205)])
    write_wav(os.path.join(directory, "music.wav"), [math.sin(i / 20.0) * 0.5 for i in range(11025)])
    with open(os.path.join(directory, "notes.txt"), "w") as f:
        f.write("first line\r\nsecond\rthird\n")


SANITIZER = re.compile(r"ERROR: (AddressSanitizer|LeakSanitizer|UndefinedBehaviorSanitizer|MemorySanitizer)"
                       r"|runtime error: ")
MEMORY = [(re.compile(r"hard rss limit exhausted"), "rss limit"),
          (re.compile(r"requested allocation size|allocation-size-too-big|calloc-overflow"), "allocation too big"),
          (re.compile(r"allocator is out of memory|out of memory|std::bad_alloc"), "out of memory")]
FRAME = re.compile(r"#\d+ 0x[0-9a-f]+ in (.*)")
DOCUMENTED_STATUS = (0, 217)


def classify(status, stderr, timed_out):
    """(class, kind, top frames) of one run."""
    frames = []
    for m in FRAME.finditer(stderr):
        fn = re.sub(r" \S*[/:]\S*$", "", m.group(1).strip())  # drop the file:line part
        fn = fn.split("(")[0] if not fn.startswith("(") else fn
        if fn.startswith(("__asan", "__sanitizer", "__interceptor", "__ubsan", "_start", "__libc_start")):
            continue
        frames.append(fn)
    if timed_out:
        return "hang", "time limit", frames[:12]
    for pattern, label in MEMORY:
        if pattern.search(stderr):
            return "memory", label, frames[:12]
    m = SANITIZER.search(stderr)
    if m:
        line = stderr[m.start():].split("\n", 1)[0]
        kind = re.sub(r"0x[0-9a-f]+", "ADDR", line)
        kind = re.sub(r"\S+:\d+:\d+: runtime error", "runtime error", kind)
        kind = re.sub(r"-?\b\d+\b", "N", kind)  # values differ from run to run
        kind = re.sub(r"\(pc .*|on address .*| at pc .*", "", kind).strip()
        return "sanitizer", kind, frames[:12]
    if status < 0:
        return "signal", signal.Signals(-status).name if -status in signal.Signals.__members__.values() \
            else "signal %d" % -status, frames[:12]
    if status not in DOCUMENTED_STATUS:
        return "status", "status %d" % status, frames[:12]
    return "end", "status %d" % status, []


def report_text(err, max_lines=40, width=200):
    """The sanitizer report (or the end of stderr), long lines cut."""
    m = SANITIZER.search(err) or re.search(r"==\d+==ERROR", err)
    lines = (err[err.rfind("\n", 0, m.start()) + 1:] if m else err[-3000:]).split("\n")
    return "\n".join(l[:width] for l in lines[:max_lines]) + "\n"


def plain_calls(script):
    """The call lines of a script written as direct calls: c(f, a) -> f(a)."""
    out = []
    for line in split_script(script)[1]:
        m = re.match(r"(v\[\d+\] = )?([ck])\((\w+)(?:, )?(.*)\)$", line)
        if m:
            where = "  -- in a coroutine" if m.group(2) == "k" else ""
            out.append("%s%s(%s)%s" % (m.group(1) or "", m.group(3), m.group(4), where))
        else:
            out.append(line)
    return "\n".join(out)


def end_reason(out, err):
    """Why a run stopped, digits and quoted names blanked: the last box or
    unhandled-error report, else 'returned'."""
    lines = [l for l in (err + "\n" + out.replace("@", "")).split("\n") if l.strip() and not l.startswith(" ")]
    text = lines[-1] if lines else "returned"
    if "ERROR:" in err or "runtime error" in err:
        return "sanitizer"
    return re.sub(r'"[^"]*"', '"…"', re.sub(r"\d+", "N", text))[:80]


def signature(cls, kind, frames, last_call=""):
    """What two failures must share to count as the same finding: class,
    kind and the first engine function on the stack, or for hangs and the
    memory limit (no stack of the main thread) the function of the last call
    the run reached."""
    ours = [f for f in frames if f.startswith("vorlune::")] or [f for f in frames if "vorlune" in f] or frames
    if not ours and last_call:
        m = re.search(r"\b[ck]\((\w+)", last_call)
        return "%s | %s | last call %s" % (cls, kind, m.group(1) if m else "?")
    return "%s | %s | %s" % (cls, kind, ours[0] if ours else "")


def last_call(script, calls):
    """The call line a run reached last (calls: the number it started)."""
    lines = split_script(script)[1] if CALLS_MARK in script else []
    return lines[calls - 1] if 0 < calls <= len(lines) else ""


def sanitized(exe):
    with open(exe, "rb") as f:
        return b"__asan_init" in f.read()


def run_script(exe, script, assets, time_limit, memory_mb, keep=None):
    """Run one script in a fresh directory; a dict with the outcome."""
    work = tempfile.mkdtemp(prefix="apifuzz-")
    try:
        for name in os.listdir(assets):
            shutil.copy(os.path.join(assets, name), work)
        with open(os.path.join(work, "game.lua"), "w", encoding="latin-1") as f:
            f.write(script)
        env = dict(os.environ)
        env.pop("DISPLAY", None)
        env.update(SDL_VIDEODRIVER="dummy", SDL_RENDER_DRIVER="software", SDL_AUDIODRIVER="dummy")
        asan = sanitized(exe)
        if asan:
            env["ASAN_OPTIONS"] = ("detect_leaks=0:hard_rss_limit_mb=%d:max_allocation_size_mb=%d:"
                                   "allocator_may_return_null=0:handle_abort=1:abort_on_error=0:"
                                   "fast_unwind_on_malloc=0" %
                                   (memory_mb, memory_mb))
            env["UBSAN_OPTIONS"] = "print_stacktrace=1:halt_on_error=1"
            sym = shutil.which("llvm-symbolizer") or shutil.which("llvm-symbolizer-14")
            if sym:
                env["ASAN_SYMBOLIZER_PATH"] = sym

        def limits():
            os.setsid()
            resource.setrlimit(resource.RLIMIT_CORE, (0, 0))
            # Writes past 64 MB fail with EFBIG instead of killing the run,
            # which exercises the interpreter's write-failure path.
            resource.setrlimit(resource.RLIMIT_FSIZE, (64 << 20, 64 << 20))
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
            if not asan:  # the sanitizer runtime reserves terabytes of address space
                resource.setrlimit(resource.RLIMIT_AS, (memory_mb << 20, memory_mb << 20))

        started = time.monotonic()
        proc = subprocess.Popen([os.path.abspath(exe), "game.lua"], cwd=work, env=env, stdin=subprocess.DEVNULL,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, preexec_fn=limits)
        timed_out = False
        try:
            out, err = proc.communicate(timeout=time_limit)
        except subprocess.TimeoutExpired:
            timed_out = True
            os.killpg(proc.pid, signal.SIGKILL)
            out, err = proc.communicate()
        try:
            os.killpg(proc.pid, signal.SIGKILL)  # programs started by system() that outlived it
        except ProcessLookupError:
            pass
        seconds = time.monotonic() - started
        err_text = err.decode("latin-1")
        cls, kind, frames = classify(proc.returncode, err_text, timed_out)
        return {"class": cls, "kind": kind, "frames": frames, "status": proc.returncode,
                "reason": end_reason(out.decode("latin-1"), err_text),
                "calls": out.count(b"@"), "last_call": last_call(script, out.count(b"@")),
                "seconds": round(seconds, 2),
                "report": report_text(err_text) if cls != "end" else ""}
    finally:
        if keep:
            shutil.rmtree(keep, ignore_errors=True)
            shutil.copytree(work, keep)
        shutil.rmtree(work, ignore_errors=True)


# ---------------------------------------------------------------------------
# Minimising


def split_script(script):
    head, mark, calls = script.partition("\n" + CALLS_MARK + "\n")
    if not mark:
        raise ValueError("not a fuzzer script: no '%s' line" % CALLS_MARK)
    return head + "\n" + CALLS_MARK + "\n", [line for line in calls.split("\n") if line.strip()]


def ddmin(items, fails):
    """Delta debugging: a 1-minimal sublist of items for which fails() holds."""
    n = 2
    while len(items) >= 2:
        chunk = -(-len(items) // n)
        subsets = [items[i:i + chunk] for i in range(0, len(items), chunk)]
        reduced = False
        for i, subset in enumerate(subsets):
            if fails(subset):
                items, n, reduced = subset, 2, True
                break
            complement = [x for j, s in enumerate(subsets) if j != i for x in s]
            if len(subsets) > 2 and fails(complement):
                items, n, reduced = complement, max(n - 1, 2), True
                break
        if not reduced:
            if n >= len(items):
                break
            n = min(len(items), n * 2)
    return items


def minimise(script, reproduces, log=lambda s: None):
    """The script cut down to the call lines that keep reproduces(script) true."""
    head, calls = split_script(script)
    tried = {}

    def fails(subset):
        key = tuple(subset)
        if key not in tried:
            tried[key] = reproduces(head + "\n".join(subset) + "\n")
            log("%4d lines: %s" % (len(subset), "still fails" if tried[key] else "passes"))
        return tried[key]

    if not fails(calls):
        raise ValueError("the script does not fail as expected")
    return head + "\n".join(ddmin(calls, fails)) + "\n"


# ---------------------------------------------------------------------------
# Commands


def default_exe():
    for d in ("build-fuzz-asan", "build-asan", "build"):
        p = os.path.join(ROOT, d, "vorlune")
        if os.path.exists(p):
            return p
    return os.path.join(ROOT, "build-asan", "vorlune")


def campaign(args):
    api = load_registry()
    assets = tempfile.mkdtemp(prefix="apifuzz-assets-")
    write_assets(assets)
    out_dir = args.out
    os.makedirs(out_dir, exist_ok=True)
    started = time.monotonic()
    totals = {"scripts": 0, "calls_generated": 0, "calls_reached": 0}
    by_class, findings, reasons = {}, {}, {}

    def one(index):
        script = generate(api, args.seed, index, args.calls)
        return index, script, run_script(args.exe, script, assets, args.time_limit, args.memory_mb)

    def write_summary():
        summary = dict(totals, seed=args.seed, first=args.first, seconds=round(time.monotonic() - started, 1),
                       classes=by_class, end_reasons=reasons, findings=findings)
        with open(os.path.join(out_dir, "summary.json"), "w") as f:
            json.dump(summary, f, indent=1)
        return summary

    # SIGTERM (and Ctrl-C) stop the campaign after the scripts under way;
    # the summary covers the scripts that ran.
    stop = []
    signal.signal(signal.SIGTERM, lambda *_: stop.append(1))
    pool = concurrent.futures.ThreadPoolExecutor(max_workers=args.jobs)
    try:
        indices = iter(range(args.first, args.first + args.scripts))
        pending = [pool.submit(one, i) for _, i in zip(range(args.jobs * 2), indices)]
        while pending and not stop:
            try:
                index, script, r = pending.pop(0).result()
            except KeyboardInterrupt:
                break
            nxt = next(indices, None)
            if nxt is not None:
                pending.append(pool.submit(one, nxt))
            totals["scripts"] += 1
            totals["calls_generated"] += len(split_script(script)[1])
            totals["calls_reached"] += r["calls"]
            by_class[r["class"]] = by_class.get(r["class"], 0) + 1
            reasons[r["reason"]] = reasons.get(r["reason"], 0) + 1
            if totals["scripts"] % 20 == 0:
                write_summary()
            if r["class"] == "end":
                continue
            sig = signature(r["class"], r["kind"], r["frames"], r["last_call"])
            path = os.path.join(out_dir, "seed%s-%06d.lua" % (args.seed, index))
            with open(path, "w", encoding="latin-1") as f:
                f.write(script)
            with open(path[:-4] + ".txt", "w", encoding="latin-1") as f:
                f.write(json.dumps({k: r[k] for k in ("class", "kind", "frames", "status", "calls", "last_call")}) + "\n")
                f.write(r["report"])
            findings.setdefault(sig, []).append(path)
            print("FAIL %s script %d: %s" % (r["class"], index, sig), flush=True)
    finally:
        for fut in pending:
            fut.cancel()
        pool.shutdown(wait=True)
        shutil.rmtree(assets, ignore_errors=True)
    summary = write_summary()
    print("scripts %d, calls generated %d, calls reached %d, %.0f s" %
          (totals["scripts"], totals["calls_generated"], totals["calls_reached"], summary["seconds"]))
    print("classes: " + ", ".join("%s %d" % kv for kv in sorted(by_class.items())))
    known = {}
    if args.known:
        with open(args.known, encoding="utf-8") as f:
            for line in f:
                sig, _, note = line.partition("#")
                if sig.strip():
                    known[sig.strip()] = note.strip()
    for sig, paths in sorted(findings.items()):
        label = "KNOWN (%s)" % known[sig] if sig in known else "NEW"
        print("  %-5s %3d x %s\n        e.g. %s" % (label.split(" ")[0], len(paths), sig, paths[0]))
        if sig in known:
            print("        " + label)
    if findings:
        print("%d failing scripts, %d distinct failures (%d new); minimise one with:\n"
              "  python3 tools/fuzz/apifuzz.py min --exe %s SCRIPT" %
              (sum(len(p) for p in findings.values()), len(findings), len([s for s in findings if s not in known]),
               args.exe))
    return 1 if findings else 0


def cmd_repro(args):
    assets = tempfile.mkdtemp(prefix="apifuzz-assets-")
    write_assets(assets)
    try:
        with open(args.script, encoding="latin-1") as f:
            r = run_script(args.exe, f.read(), assets, args.time_limit, args.memory_mb, keep=args.keep)
    finally:
        shutil.rmtree(assets, ignore_errors=True)
    print("%s: %s (status %s, %d calls, %.2f s)" % (r["class"], r["kind"], r["status"], r["calls"], r["seconds"]))
    if r["class"] != "end":
        print(signature(r["class"], r["kind"], r["frames"], r["last_call"]))
        print(r["report"])
    return 0 if r["class"] == "end" else 1


def cmd_min(args):
    assets = tempfile.mkdtemp(prefix="apifuzz-assets-")
    write_assets(assets)
    try:
        with open(args.script, encoding="latin-1") as f:
            script = f.read()
        first = run_script(args.exe, script, assets, args.time_limit, args.memory_mb)
        if first["class"] == "end":
            print("the script ends normally; nothing to minimise")
            return 1
        want = signature(first["class"], first["kind"], first["frames"], first["last_call"])

        def once(s):
            r = run_script(args.exe, s, assets, args.time_limit, args.memory_mb)
            if args.any_failure:
                return r["class"] == first["class"]
            return signature(r["class"], r["kind"], r["frames"], r["last_call"]) == want

        # Runs are not fully repeatable (the random generator is seeded from
        # the clock, animations follow it), so a cut counts only when it
        # fails twice.
        def reproduces(s):
            return once(s) and once(s)
        print("minimising: " + want, file=sys.stderr)
        # Calls after the one the run stopped in never ran: drop them first.
        head, calls = split_script(script)
        if 0 < first["calls"] < len(calls):
            cut = head + "\n".join(calls[:first["calls"]]) + "\n"
            if reproduces(cut):
                script = cut
        try:
            small = minimise(script, reproduces, log=lambda s: print(s, file=sys.stderr))
        except ValueError:
            print("the failure did not repeat twice in a row; for a hang, try a longer --time-limit",
                  file=sys.stderr)
            return 1
        if not once(small):
            print("warning: the minimised script did not fail a third time; the failure is flaky", file=sys.stderr)
    finally:
        shutil.rmtree(assets, ignore_errors=True)
    out = args.output or re.sub(r"(\.lua)?$", ".min.lua", args.script, count=1)
    with open(out, "w", encoding="latin-1") as f:
        f.write(small)
    print(out)
    print(plain_calls(small))
    return 0


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    sub = ap.add_subparsers(dest="command", required=True)

    def common(p):
        p.add_argument("--exe", default=default_exe(), help="interpreter to run (default: the sanitizer build)")
        p.add_argument("--time-limit", type=float, default=20.0, help="seconds per script (default 20)")
        p.add_argument("--memory-mb", type=int, default=1024, help="memory limit per script in MB (default 1024)")

    p = sub.add_parser("run", help="run a campaign")
    common(p)
    p.add_argument("--seed", default="1")
    p.add_argument("--first", type=int, default=0, help="index of the first script")
    p.add_argument("--scripts", type=int, default=100)
    p.add_argument("--calls", type=int, default=200, help="random calls per script (after 15 set-up calls)")
    p.add_argument("--jobs", type=int, default=2)
    p.add_argument("--out", default="fuzz-out", help="directory for failing scripts and summary.json")
    p.add_argument("--known", help="file of failure signatures that are reported as known")
    p = sub.add_parser("gen", help="print one generated script")
    p.add_argument("--seed", default="1")
    p.add_argument("--index", type=int, default=0)
    p.add_argument("--calls", type=int, default=200)
    p = sub.add_parser("repro", help="run one script and classify it")
    common(p)
    p.add_argument("script")
    p.add_argument("--keep", help="copy the run's directory here afterwards")
    p = sub.add_parser("min", help="minimise a failing script")
    common(p)
    p.add_argument("script")
    p.add_argument("-o", "--output")
    p.add_argument("--any-failure", action="store_true", help="keep any failure of the same class, not the same signature")
    sub.add_parser("registry", help="print the registry")
    args = ap.parse_args(argv)

    if args.command == "run":
        return campaign(args)
    if args.command == "gen":
        sys.stdout.write(generate(load_registry(), args.seed, args.index, args.calls))
        return 0
    if args.command == "repro":
        return cmd_repro(args)
    if args.command == "min":
        return cmd_min(args)
    for f in load_registry():
        print("%-22s %2d  %s" % (f["name"], f["arity"], ", ".join("%s %s" % kp for kp in f["params"])))
    return 0


if __name__ == "__main__":
    sys.exit(main())
