#!/usr/bin/env python3
"""Turns bench/out/results.json into bench/RESULTS.md, adding the profile
notes of bench/PROFILE.md and the hottest functions of the recorded
callgrind profiles."""
import glob
import json
import os
import re
import subprocess
import sys

BENCH = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(BENCH, "out")

ENV_TITLE = {
    "xvfb": "Xvfb (accelerated renderer: OpenGL on Mesa llvmpipe)",
    "headless": "headless (dummy video, software renderer, SDL_RENDER_BATCHING=1; LÖVE: offscreen EGL on llvmpipe)",
}
PROGRAM_TITLE = {
    "vorlune": "Vorlune",
    "floor": "floor",
    "floor-rects": "floor, batched FillRects",
    "floor-points": "floor, batched DrawPoints",
    "floor-atlas": "floor, glyph atlas",
    "floor-geometry": "floor, batched RenderGeometry",
    "floor-texture": "floor, cached disc texture",
    "floor-quit": "floor + SDL_Quit",
    "lua": "`lua5.2 -e \"\"`",
    "love": "LÖVE",
}
SCENE_TITLE = {
    "sprites": ("Sprites", "N rotated, scaled 32×32 sprites per frame with `drawsprite`, all from one texture", "N"),
    "primitives": ("Primitives", "N `fillcircle` (radius 20) plus N `line` per frame", "N"),
    "text": ("Text", "a full 640×480 screen of `drawtext`: 80×60 glyphs at size 1, 40×30 at size 2", "size"),
}


SCENE_NOTE = {
    "text": "The interpreter's `drawtext` sends a text's glyph squares in `SDL_RenderFillRects` batches, "
            "so headless the floor to hold it against is the batched FillRects row; the plain floor makes one "
            "`SDL_RenderFillRect` per glyph pixel. Under Xvfb (OpenGL renderer) the interpreter draws a frame "
            "that starts with a clear into a copy in main memory with SDL's software renderer and puts it into "
            "the back buffer before the present: the floor there makes the plain calls on OpenGL.",
    "primitives": "The interpreter makes one `SDL_RenderDrawLine` per disc column and per line, as the plain floor "
                  "does, and clips each segment to the target first. Under Xvfb (OpenGL renderer) those calls "
                  "go to a copy of the frame in main memory drawn by SDL's software renderer, put into the back "
                  "buffer before the present; the floor there makes the plain calls on OpenGL.",
}


def fmt(v):
    if v is None:
        return "—"
    if v >= 100:
        return "%.0f" % v
    if v >= 10:
        return "%.1f" % v
    return "%.2f" % v


def spread(entry, scale=1.0):
    if not entry or "median" not in entry:
        return "— (%s)" % entry["errors"][0] if entry and entry.get("errors") else "—"
    if entry["runs"] == 1:
        return fmt(entry["median"] * scale)
    return "%s (%s–%s)" % (fmt(entry["median"] * scale), fmt(entry["min"] * scale), fmt(entry["max"] * scale))


def ratio(a, b, invert=False):
    if not a or not b or "median" not in a or "median" not in b or not b["median"] or not a["median"]:
        return "—"
    r = b["median"] / a["median"] if invert else a["median"] / b["median"]
    return "%.2f×" % r


def mb(entry):
    return "%.0f" % (entry["rss_kb"] / 1024) if entry and entry.get("rss_kb") else "—"


def find(items, **keys):
    for item in items:
        if all(item.get(k) == v for k, v in keys.items()):
            return item
    return None


def frame_tables(results, out):
    frames = results["frames"]
    for scene, (title, what, size_name) in SCENE_TITLE.items():
        rows = [e for e in frames if e["scene"] == scene]
        if not rows:
            continue
        out.append("## %s\n\n%s. Frames per second: median of the runs (min–max); ratios of the medians; "
                   "peak memory (MB) of Vorlune / floor / LÖVE.%s\n" % (
                       title, what[0].upper() + what[1:], (" " + SCENE_NOTE[scene]) if scene in SCENE_NOTE else ""))
        variants = sorted({e["program"] for e in rows if e["program"].startswith("floor-")})
        for env in ("xvfb", "headless"):
            env_rows = [e for e in rows if e["env"] == env]
            if not env_rows:
                continue
            out.append("### %s\n" % ENV_TITLE[env])
            head = ["%s" % size_name, "Vorlune", "floor", "LÖVE", "Vorlune ÷ floor", "Vorlune ÷ LÖVE",
                    "floor ÷ LÖVE", "peak MB"]
            out.append("| " + " | ".join(head) + " |")
            out.append("|" + "---|" * len(head))
            sizes = sorted({e["size"] for e in env_rows})
            for size in sizes:
                v = find(env_rows, size=size, program="vorlune")
                f = find(env_rows, size=size, program="floor")
                lv = find(env_rows, size=size, program="love")
                out.append("| %s | %s | %s | %s | %s | %s | %s | %s / %s / %s |" % (
                    "{:,}".format(size), spread(v), spread(f), spread(lv), ratio(v, f), ratio(v, lv),
                    ratio(f, lv), mb(v), mb(f), mb(lv)))
            out.append("")
            if variants:
                out.append("Batched call patterns in the floor (same pixels, fewer SDL calls), frames per second:\n")
                head = [size_name, "floor (one call per line/pixel)"] + [PROGRAM_TITLE[p] for p in variants] + \
                       ["best ÷ floor", "best ÷ LÖVE"]
                out.append("| " + " | ".join(head) + " |")
                out.append("|" + "---|" * len(head))
                for size in sizes:
                    f = find(env_rows, size=size, program="floor")
                    lv = find(env_rows, size=size, program="love")
                    vs = [find(env_rows, size=size, program=p) for p in variants]
                    best = max((x for x in vs if x and "median" in x), key=lambda x: x["median"], default=None)
                    out.append("| %s | %s | %s | %s | %s |" % ("{:,}".format(size), spread(f),
                                                              " | ".join(spread(x) for x in vs),
                                                              ratio(best, f), ratio(best, lv)))
                out.append("")
            renderers = sorted({e.get("renderer") for e in env_rows if e.get("renderer")})
            if renderers:
                out.append("SDL renderer used by the floor: %s.\n" % ", ".join(renderers))


def identity_table(results, out):
    rows = results.get("identity", [])
    if not rows:
        return
    out.append("## Batched patterns draw the same pixels\n\nEach batched floor pattern drew one frame (the "
               "smallest primitives size, both text sizes) with the scene's colours opaque and with alpha 128, read "
               "back with SDL_RenderReadPixels before presenting, and compared with the frame of one SDL call per "
               "line or glyph pixel. Pixels that differ:\n")
    variants = sorted({e["program"] for e in rows})
    head = ["scene", "size", "environment", "alpha"] + [PROGRAM_TITLE[v].replace("floor, ", "") for v in variants]
    out.append("| " + " | ".join(head) + " |")
    out.append("|" + "---|" * len(head))
    keys = []
    for e in rows:
        k = (e["scene"], e["size"], e["env"], e["alpha"])
        if k not in keys:
            keys.append(k)
    for scene, size, env, alpha in keys:
        cells = []
        for v in variants:
            e = find(rows, scene=scene, size=size, env=env, alpha=alpha, program=v)
            cells.append("" if not e else str(e["differing"]) if "differing" in e else e.get("error", "—"))
        out.append("| %s | %s | %s | %d | %s |" % (scene, size, env, alpha, " | ".join(cells)))
    out.append("")


def call_table(results, out):
    calls = results["calls"]
    if not calls:
        return
    out.append("## Script call overhead\n\n%s calls of a cheap function in a Lua loop (`if boxcoll(i %% 50, 2, 30, 40, "
               "25, 6, 30, 40) then … end`; `hits = hits + len(s)`), timed with `os.clock`. Floor: the same script "
               "in a bare Lua 5.2 state whose `boxcoll` and `len` are minimal C functions. LÖVE: the loop with the "
               "functions written in Lua, compiled by LuaJIT (so it measures what a LÖVE game pays, not a C call). "
               "Millions of calls per second, median (min–max); nanoseconds per call (loop included).\n"
               % "{:,}".format(calls[0]["count"]))
    head = ["function", "environment", "Vorlune", "floor", "LÖVE", "Vorlune ns/call", "floor ns/call",
            "Vorlune time ÷ floor time", "peak MB"]
    out.append("| " + " | ".join(head) + " |")
    out.append("|" + "---|" * len(head))
    for function in ("boxcoll", "len"):
        for env in ("xvfb", "headless"):
            v = find(calls, function=function, env=env, program="vorlune")
            f = find(calls, function=function, env=env, program="floor")
            lv = find(calls, function=function, env=env, program="love")
            if not v:
                continue
            ns = lambda e: "%.1f" % (1e9 / e["median"]) if e and "median" in e else "—"
            out.append("| `%s` | %s | %s | %s | %s | %s | %s | %s | %s / %s / %s |" % (
                function, env, spread(v, 1e-6), spread(f, 1e-6), spread(lv, 1e-6), ns(v), ns(f),
                ratio(v, f, invert=True), mb(v), mb(f), mb(lv)))
    out.append("")


def startup_table(results, out):
    rows = results["startup"]
    if not rows:
        return
    out.append("## Start-up\n\nWall time from launch to exit, measured by hyperfine (%d runs after 2 warm-ups): "
               "median (min–max) in milliseconds, and peak memory. *empty*: an empty script; floors "
               "`lua5.2 -e \"\"` and a C++ program making the interpreter's media start-up (SDL_Init, "
               "joystick, Mix_OpenAudio) and returning without SDL_Quit, as a script that returns does; the same "
               "with SDL_Quit is shown for what closing audio costs. LÖVE: a game with no window that ends in its "
               "first step. *firstframe*: open a 640×480 window, clear, fill a rectangle, present, end.\n"
               % results["meta"]["startup_runs"])
    head = ["case", "environment", "program", "ms", "÷ floor", "peak MB"]
    out.append("| " + " | ".join(head) + " |")
    out.append("|" + "---|" * len(head))
    for case in ("empty", "firstframe"):
        for env in ("xvfb", "headless"):
            f = find(rows, case=case, env=env, program="floor")
            for e in [r for r in rows if r["case"] == case and r["env"] == env]:
                cell = spread({"runs": 2, **e}) if "median" in e else "— (%s)" % e.get("error")
                out.append("| %s | %s | %s | %s | %s | %s |" % (case, env, PROGRAM_TITLE[e["program"]], cell,
                                                               ratio(e, f, invert=True) if e is not f else "1.00×",
                                                               mb(e)))
    out.append("")


def callgrind_table(results, out):
    rows = results["callgrind"]
    if not rows:
        return
    out.append("## Instruction counts (callgrind, headless)\n\nInstructions of the main thread per frame "
               "(difference between a run of %d frames and one of %d, so start-up drops out) and per call "
               "(difference between 10^6 calls and none). These repeat exactly from run to run, unlike the "
               "times above.\n" % (3, 1))
    head = ["scene", "size", "program", "instructions", "÷ floor"]
    out.append("| " + " | ".join(head) + " |")
    out.append("|" + "---|" * len(head))
    for e in rows:
        value = e.get("per_frame", e.get("per_call"))
        f = find(rows, scene=e["scene"], size=e["size"], program="floor")
        fv = f.get("per_frame", f.get("per_call")) if f else None
        unit = "/frame" if "per_frame" in e else "/call"
        out.append("| %s | %s | %s | %s | %s |" % (
            e["scene"], e["size"], PROGRAM_TITLE[e["program"]],
            ("{:,.0f}".format(value) + unit) if value is not None else "— (%s)" % e.get("error"),
            "%.2f×" % (value / fv) if value and fv else "—"))
    out.append("")


def cost_by_object(path):
    """Self cost of a callgrind profile summed by shared object."""
    try:
        p = subprocess.run(["callgrind_annotate", "--inclusive=no", "--threshold=100", path],
                           capture_output=True, text=True, timeout=120)
    except OSError:
        return {}
    totals = {}
    for line in p.stdout.splitlines():
        m = re.match(r"^\s*([\d,]+)\s.*\[([^\]]+)\]\s*$", line)
        if m and "PROGRAM TOTALS" not in line:
            name = os.path.basename(m.group(2))
            totals[name] = totals.get(name, 0) + int(m.group(1).replace(",", ""))
    return totals


def hottest(results, out):
    """Where the interpreter's instructions go per frame, by shared object:
    the difference between its 3-frame and 1-frame profiles."""
    rows = [e for e in results["callgrind"] if e["program"] == "vorlune" and e.get("file") and "per_frame" in e]
    if not rows:
        return
    out.append("## Instructions per frame by library (interpreter, callgrind)\n")
    out.append("| scene | size | object | instructions per frame | share |")
    out.append("|---|---|---|---|---|")
    for e in rows:
        later = cost_by_object(os.path.join(OUT, e["file"]))
        earlier_files = glob.glob(os.path.join(OUT, "callgrind", os.path.basename(e["file"]).split(".")[0][:-2] + "-1.*-01"))
        earlier = cost_by_object(earlier_files[0]) if earlier_files else {}
        per_frame = {k: (v - earlier.get(k, 0)) / 2 for k, v in later.items()}
        total = sum(v for v in per_frame.values() if v > 0) or 1
        for name, value in sorted(per_frame.items(), key=lambda kv: -kv[1])[:5]:
            if value <= 0:
                break
            out.append("| %s | %s | `%s` | %s | %.0f%% |" % (e["scene"], e["size"], name, "{:,.0f}".format(value),
                                                         100 * value / total))
    out.append("")


def goals(results, out):
    frames, calls, startup = results["frames"], results["calls"], results["startup"]
    lines = []

    def time_ratio(v, f):
        return f["median"] / v["median"] if v and f and "median" in v and "median" in f else None

    for scene in ("sprites", "primitives", "text"):
        for env in ("xvfb", "headless"):
            worst = None
            for v in [e for e in frames if e["scene"] == scene and e["env"] == env and e["program"] == "vorlune"]:
                f = find(frames, scene=scene, env=env, size=v["size"], program="floor")
                r = time_ratio(v, f)
                if r is not None and (worst is None or r > worst[0]):
                    worst = (r, v["size"])
            if worst:
                mark = "met" if worst[0] <= 1.15 else "not met"
                lines.append("- %s, %s: Vorlune's time per frame against the floor's, worst size: %+.0f%% (at %s; goal ≤ +15%%): %s."
                             % (scene, env, (worst[0] - 1) * 100, "{:,}".format(worst[1]), mark))
    for function in ("boxcoll", "len"):
        for env in ("xvfb", "headless"):
            v = find(calls, function=function, env=env, program="vorlune")
            f = find(calls, function=function, env=env, program="floor")
            r = time_ratio(v, f)
            if r is not None:
                lines.append("- call overhead `%s`, %s: %+.0f%% time per call against the floor (goal ≤ +30%%): %s."
                             % (function, env, (r - 1) * 100, "met" if r <= 1.30 else "not met"))
    for env in ("xvfb", "headless"):
        slowest = None
        for v in [e for e in frames if e["scene"] == "sprites" and e["env"] == env and e["program"] == "vorlune"]:
            lv = find(frames, scene="sprites", env=env, size=v["size"], program="love")
            if lv and "median" in v and "median" in lv:
                r = v["median"] / lv["median"]
                if slowest is None or r < slowest[0]:
                    slowest = (r, v["size"])
        if slowest:
            lines.append("- sprites against LÖVE, %s: Vorlune reaches %.2f× LÖVE's frame rate at worst (at %s; goal ≥ 1): %s."
                         % (env, slowest[0], "{:,}".format(slowest[1]), "met" if slowest[0] >= 1 else "not met"))
    for scene in ("primitives", "text"):
        for env in ("xvfb", "headless"):
            parts = []
            for v in [e for e in frames if e["scene"] == scene and e["env"] == env and e["program"] == "vorlune"]:
                lv = find(frames, scene=scene, env=env, size=v["size"], program="love")
                if lv and "median" in v and "median" in lv:
                    parts.append("%.2f× at %s" % (v["median"] / lv["median"], "{:,}".format(v["size"])))
            if parts:
                lines.append("- %s against LÖVE, %s (target: LÖVE's rate): %s." % (scene, env, ", ".join(parts)))
    for env in ("xvfb", "headless"):
        v = find(startup, case="firstframe", env=env, program="vorlune")
        f = find(startup, case="firstframe", env=env, program="floor")
        lv = find(startup, case="firstframe", env=env, program="love")
        if v and f and "median" in v and "median" in f:
            text = "- start-up to the first frame, %s: %.0f ms against the floor's %.0f ms (%+.0f%%, goal ≤ +10%%): %s" % (
                env, v["median"], f["median"], (v["median"] / f["median"] - 1) * 100,
                "met" if v["median"] <= 1.10 * f["median"] else "not met")
            if lv and "median" in lv:
                text += "; LÖVE %.0f ms (goal: faster than LÖVE): %s" % (lv["median"], "met" if v["median"] < lv["median"] else "not met")
            lines.append(text + ".")
    if lines:
        out.append("## Goals: where we stand\n")
        out.extend(lines)
        out.append("")


def headline(results):
    """Median ratios for the README."""
    frames = results["frames"]
    parts = []
    for scene in ("sprites", "primitives", "text"):
        for env in ("xvfb", "headless"):
            rs_floor, rs_love = [], []
            for v in [e for e in frames if e["scene"] == scene and e["env"] == env and e["program"] == "vorlune" and "median" in e]:
                f = find(frames, scene=scene, env=env, size=v["size"], program="floor")
                lv = find(frames, scene=scene, env=env, size=v["size"], program="love")
                if f and "median" in f:
                    rs_floor.append(v["median"] / f["median"])
                if lv and "median" in lv:
                    rs_love.append(v["median"] / lv["median"])
            if rs_floor or rs_love:
                parts.append((scene, env, rs_floor, rs_love))
    return parts


def main():
    with open(os.path.join(OUT, "results.json")) as f:
        results = json.load(f)
    meta = results["meta"]
    out = ["# Benchmark results", "",
           "Generated by `./dev.sh bench` (bench/run.sh) on %s in %d s. Do not edit: run it again." % (
               meta["date"], meta.get("seconds", 0)), "",
           "Machine: %s, %s cores, Linux %s; load average %s at the start and %s at the end (other work "
           "on the machine slows every program alike, but widens the spread). SDL2 %s, Lua 5.2 %s, %s, Mesa %s." % (
               meta["cpu"], meta["cores"], meta["kernel"], meta.get("load_start", "?"), meta.get("load_end", "?"),
               meta["sdl"], meta["lua"], meta["love"], meta["mesa"]), "",
           "Each figure is the median of %d runs with the minimum and maximum beside it; every run draws one "
           "warm-up frame, then measured frames for %d ms (at least one), and prints its own rate, so start-up "
           "is not included. The three programs of a scene take turns. Ratios above 1 mean Vorlune is faster. "
           "These machines are noisy (about ±20%% between back-to-back runs): read the instruction counts where "
           "a ratio must be settled. See bench/README.md for what each program does." % (
               meta["runs"], meta["budget_ms"]), ""]
    parts = headline(results)
    if parts:
        out.append("## Headline\n")
        out.append("Vorlune's frame rate as a multiple of the floor's (the same SDL calls made directly from C++) "
                   "and of LÖVE's, over the sizes of each scene:\n")
        out.append("| scene | environment | Vorlune ÷ floor | Vorlune ÷ LÖVE |")
        out.append("|---|---|---|---|")
        rng = lambda rs: "—" if not rs else ("%.2f×" % rs[0] if len(rs) == 1 else "%.2f–%.2f×" % (min(rs), max(rs)))
        for scene, env, rf, rl in parts:
            out.append("| %s | %s | %s | %s |" % (scene, env, rng(rf), rng(rl)))
        out.append("")
    goals(results, out)
    frame_tables(results, out)
    identity_table(results, out)
    call_table(results, out)
    startup_table(results, out)
    callgrind_table(results, out)
    notes = os.path.join(BENCH, "PROFILE.md")
    if os.path.exists(notes):
        with open(notes) as f:
            out.append(f.read().rstrip() + "\n")
    hottest(results, out)
    with open(os.path.join(BENCH, "RESULTS.md"), "w") as f:
        f.write("\n".join(out).rstrip() + "\n")


if __name__ == "__main__":
    sys.exit(main())
