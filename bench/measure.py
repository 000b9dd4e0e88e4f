#!/usr/bin/env python3
"""Runs every benchmark scene with the interpreter, the floor programs and
LÖVE, in both environments, and writes the raw figures to bench/out/results.json.

Called by bench/run.sh after it has built everything and made the assets;
bench/report.py turns the JSON into bench/RESULTS.md.
"""
import argparse
import concurrent.futures
import datetime
import glob
import json
import os
import platform
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "bench", "out")
VORLUNE = os.path.join(ROOT, "build-bench", "vorlune")
FLOOR = os.path.join(ROOT, "build-bench-floor")

# Sizes of the frame scenes: N sprites, N circles + N lines, text size.
FRAME_SCENES = {
    "sprites": [1000, 10000, 100000],
    "primitives": [100, 1000, 10000],
    "text": [1, 2],
}
# Batched call patterns the floor can draw with (same pixels, fewer calls).
FLOOR_VARIANTS = {"primitives": ["rects", "points", "geometry", "texture"], "text": ["rects", "geometry", "atlas"]}
# Patterns checked and counted but not timed: clearly slower everywhere.
UNTIMED_VARIANTS = {"points"}
CALL_FUNCTIONS = ["boxcoll", "len"]
CALL_COUNT = 10_000_000
# Instruction counts: (scene, size) pairs and the two frame counts whose
# difference gives the cost of frames alone.
CALLGRIND_FRAMES = [("sprites", 1000), ("primitives", 100), ("text", 1), ("text", 2)]
CALLGRIND_FRAME_COUNTS = (1, 3)
CALLGRIND_CALLS = 1_000_000

ENVIRONMENTS = ["xvfb", "headless"]


def base_env(environment, program, display):
    """The environment a program runs in. No sound device exists on these
    machines: SDL gets its dummy audio driver and LÖVE's OpenAL its null one."""
    env = dict(os.environ)
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", "SDL_RENDER_DRIVER", "SDL_RENDER_BATCHING"):
        env.pop(name, None)
    env["SDL_AUDIODRIVER"] = "dummy"
    env["ALSOFT_DRIVERS"] = "null"
    if environment == "xvfb":
        env["DISPLAY"] = display
    else:
        # SDL switches batching off when SDL_RENDER_DRIVER is set; switch it
        # back on, for all three programs alike.
        env["SDL_RENDER_DRIVER"] = "software"
        env["SDL_RENDER_BATCHING"] = "1"
        # LÖVE draws only through OpenGL: headless it gets SDL's offscreen
        # driver (EGL on Mesa's llvmpipe) instead of the dummy one.
        env["SDL_VIDEODRIVER"] = "offscreen" if program == "love" else "dummy"
    return env


def frame_command(program, scene, size, budget, fixed=0):
    if program == "vorlune":
        return [VORLUNE, scene + ".lua", str(size), str(budget), str(fixed)]
    if program == "love":
        return ["love", os.path.join("love", scene), str(size), str(budget), str(fixed)]
    variant = program.split("-", 1)[1] if "-" in program else "calls"
    return [os.path.join(FLOOR, scene), str(size), str(budget), str(fixed), variant]


def call_command(program, function, count):
    if program == "vorlune":
        return [VORLUNE, "calls.lua", function, str(count)]
    if program == "floor":
        return [os.path.join(FLOOR, "calls"), "calls.lua", function, str(count)]
    return ["love", os.path.join("love", "calls"), function, str(count)]


RUN_TIMEOUT = 60  # seconds; the slowest run takes about 10

RESULT_LINE = re.compile(r"^RESULT (\w+) ([0-9.eE+-]+)(.*)$", re.M)


def run_process(command, env, timeout):
    """Runs a command in its own process group and kills the whole group
    when it overruns (a script error under X waits in a message box)."""
    p = subprocess.Popen(command, cwd=OUT, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                         start_new_session=True)
    try:
        out, err = p.communicate(timeout=timeout)
    except subprocess.TimeoutExpired:
        os.killpg(p.pid, signal.SIGKILL)
        p.communicate()
        return None, "", ""
    return p.returncode, out, err


def run_once(command, env, timeout=RUN_TIMEOUT):
    """Runs one program under /usr/bin/time; returns its figure, peak memory
    and the renderer it reported, or the reason it failed."""
    with tempfile.NamedTemporaryFile("r", suffix=".time") as timing:
        code, out, err = run_process(["/usr/bin/time", "-o", timing.name, "-f", "%M"] + command, env, timeout)
        if code is None:
            return {"error": "timed out after %d s" % timeout}
        m = RESULT_LINE.search(out)
        if code != 0 or not m:
            lines = [l for l in (err.strip() or out.strip()).splitlines() if not l.startswith("Command exited")]
            return {"error": "exit %d: %s" % (code, (lines[-1:] or ["no output"])[0][:160])}
        rss = None
        try:
            rss = int(timing.read().strip().splitlines()[-1])
        except (ValueError, IndexError):
            pass
        renderer = re.search(r"^renderer: (\S+)", err, re.M)
        words = m.group(3).split()
        return {"value": float(m.group(2)), "rss_kb": rss, "renderer": renderer.group(1) if renderer else None,
                "extra": dict(zip(words[0::2], words[1::2]))}


def summarise(samples):
    values = [s["value"] for s in samples if "value" in s]
    rss = [s["rss_kb"] for s in samples if s.get("rss_kb")]
    errors = [s["error"] for s in samples if "error" in s]
    out = {"runs": len(values), "values": values, "errors": errors[:1]}
    if values:
        out.update(median=statistics.median(values), min=min(values), max=max(values))
    if rss:
        out["rss_kb"] = max(rss)
    renderers = {s["renderer"] for s in samples if s.get("renderer")}
    if renderers:
        out["renderer"] = ",".join(sorted(renderers))
    return out


def progress(text):
    print(text, flush=True)


def measure_frames(environment, display, runs, budget, only):
    results = []
    for scene, sizes in FRAME_SCENES.items():
        if only and scene not in only:
            continue
        if scene == "text" and not os.path.exists(os.path.join(OUT, "font.bin")):
            progress("  text: skipped (no font dump)")
            for size in sizes:
                results.append({"scene": scene, "size": size, "env": environment, "program": "vorlune",
                                "runs": 0, "values": [], "errors": ["the font dump failed"]})
            continue
        programs = ["vorlune", "floor", "love"] + ["floor-" + v for v in FLOOR_VARIANTS.get(scene, [])
                                                   if v not in UNTIMED_VARIANTS]
        for size in sizes:
            samples = {p: [] for p in programs}
            # Programs take turns, so slow drift of the machine hits all alike.
            for _ in range(runs):
                for program in programs:
                    command = frame_command(program, scene, size, budget)
                    samples[program].append(run_once(command, base_env(environment, program, display)))
            for program in programs:
                entry = {"scene": scene, "size": size, "env": environment, "program": program}
                entry.update(summarise(samples[program]))
                results.append(entry)
                progress("  %-10s %-7s %-6s %-13s %s" % (scene, size, environment, program,
                                                        "%.2f fps" % entry["median"] if "median" in entry
                                                        else entry["errors"]))
    return results


def measure_calls(environment, display, runs):
    results = []
    programs = ["vorlune", "floor", "love"]
    for function in CALL_FUNCTIONS:
        samples = {p: [] for p in programs}
        for _ in range(runs):
            for program in programs:
                command = call_command(program, function, CALL_COUNT)
                samples[program].append(run_once(command, base_env(environment, program, display)))
        for program in programs:
            entry = {"function": function, "env": environment, "program": program, "count": CALL_COUNT}
            entry.update(summarise(samples[program]))
            results.append(entry)
            progress("  calls      %-7s %-6s %-13s %s" % (function, environment, program,
                                                         "%.1f M/s" % (entry["median"] / 1e6) if "median" in entry
                                                         else entry["errors"]))
    return results


STARTUP_COMMANDS = {
    # case: [(program, command)]; the floors first
    "empty": [
        ("vorlune", [VORLUNE, "empty.lua"]),
        ("lua", ["lua5.2", "-e", ""]),
        ("floor", [os.path.join(FLOOR, "startup"), "media"]),
        ("floor-quit", [os.path.join(FLOOR, "startup"), "media-quit"]),
        ("love", ["love", os.path.join("love", "empty")]),
    ],
    "firstframe": [
        ("vorlune", [VORLUNE, "firstframe.lua"]),
        ("floor", [os.path.join(FLOOR, "startup"), "frame"]),
        ("love", ["love", os.path.join("love", "firstframe")]),
    ],
}


def hyperfine(command, env, runs):
    with tempfile.NamedTemporaryFile("r", suffix=".json") as export:
        args = ["hyperfine", "-N", "--warmup", "2", "--runs", str(runs), "--export-json", export.name,
                "--style", "none", " ".join(shell_quote(c) for c in command)]
        p = subprocess.run(args, cwd=OUT, env=env, capture_output=True, text=True, timeout=300)
        if p.returncode != 0:
            tail = (p.stderr.strip() or p.stdout.strip()).splitlines()[-1:] or ["no output"]
            return {"error": tail[0][:160]}
        data = json.load(export)["results"][0]
        # hyperfine -N reports a failing command by its exit codes
        if any(code != 0 for code in data.get("exit_codes", [])):
            return {"error": "non-zero exit status"}
        times = [t * 1000 for t in data["times"]]
        return {"times_ms": times, "median": statistics.median(times), "min": min(times), "max": max(times),
                "mean": statistics.mean(times)}


def shell_quote(word):
    return "''" if word == "" else (word if re.fullmatch(r"[\w./=:+-]+", word) else "'" + word.replace("'", "'\\''") + "'")


def measure_startup(environment, display, runs):
    results = []
    for case, programs in STARTUP_COMMANDS.items():
        for program, command in programs:
            env = base_env(environment, "love" if program == "love" else program, display)
            entry = {"case": case, "env": environment, "program": program, "command": " ".join(command)}
            # Three plain runs first: peak memory, and a check that the
            # command ends by itself before hyperfine repeats it.
            memory = [run_plain(command, env) for _ in range(3)]
            failed = [m for m in memory if isinstance(m, str)]
            if failed:
                entry["error"] = failed[0]
            else:
                entry["rss_kb"] = max(memory)
                entry.update(hyperfine(command, env, runs))
            results.append(entry)
            progress("  startup    %-10s %-8s %-10s %s" % (case, environment, program,
                                                          "%.1f ms" % entry["median"] if "median" in entry
                                                          else entry.get("error")))
    return results


def run_plain(command, env):
    """Peak memory in KB of one run, or the reason it failed."""
    with tempfile.NamedTemporaryFile("r", suffix=".time") as timing:
        code, out, err = run_process(["/usr/bin/time", "-o", timing.name, "-f", "%M"] + command, env, 30)
        if code is None:
            return "timed out after 30 s"
        # The interpreter reports a script error in a box (echoed to standard
        # error) and exits with status 0.
        boxed = re.search(r"^Error: .*", err, re.M)
        if code != 0 or boxed:
            lines = [l for l in (err.strip() or out.strip()).splitlines() if not l.startswith("Command exited")]
            return "exit %d: %s" % (code, boxed.group(0)[:160] if boxed else (lines[-1:] or ["no output"])[0][:160])
        try:
            return int(timing.read().strip().splitlines()[-1])
        except (ValueError, IndexError):
            return "no memory figure"


def callgrind_job(name, command, env):
    """Instructions of the main thread only: the mixer's thread wakes with
    the wall clock, which valgrind stretches."""
    directory = os.path.join(OUT, "callgrind")
    for old in glob.glob(os.path.join(directory, name + ".*")):
        os.remove(old)
    full = ["valgrind", "--tool=callgrind", "--separate-threads=yes",
            "--callgrind-out-file=" + os.path.join(directory, name + ".%p")] + command
    p = subprocess.run(full, cwd=OUT, env=env, capture_output=True, text=True, timeout=600)
    files = sorted(glob.glob(os.path.join(directory, name + ".*-01")))
    if p.returncode != 0 or not files:
        tail = p.stderr.strip().splitlines()[-1:] or ["no output"]
        return name, {"error": tail[0][:160]}
    with open(files[-1]) as f:
        for line in f:
            if line.startswith(("summary:", "totals:")):
                return name, {"instructions": int(line.split()[1]), "file": os.path.relpath(files[-1], OUT)}
    return name, {"error": "no totals in " + files[-1]}


def measure_callgrind(only):
    os.makedirs(os.path.join(OUT, "callgrind"), exist_ok=True)
    jobs = []
    for scene, size in CALLGRIND_FRAMES:
        if only and scene not in only:
            continue
        if scene == "text" and not os.path.exists(os.path.join(OUT, "font.bin")):
            continue
        for program in ["vorlune", "floor"] + ["floor-" + v for v in FLOOR_VARIANTS.get(scene, [])]:
            for frames in CALLGRIND_FRAME_COUNTS:
                name = "%s-%s-%s-%d" % (scene, size, program, frames)
                # budget 0 with a fixed frame count: exactly that many frames
                jobs.append((name, frame_command(program, scene, size, 0, frames), base_env("headless", program, "")))
    if not only or "calls" in only:
        for program in ["vorlune", "floor"]:
            for function, count in [("boxcoll", 0), ("boxcoll", CALLGRIND_CALLS), ("len", CALLGRIND_CALLS)]:
                name = "calls-%s-%s-%d" % (function, program, count)
                jobs.append((name, call_command(program, function, count), base_env("headless", program, "")))
    # Instruction counts do not depend on load: two at a time.
    with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
        counts = dict(pool.map(lambda job: callgrind_job(*job), jobs))
    results = []
    for scene, size in CALLGRIND_FRAMES:
        for program in ["vorlune", "floor"] + ["floor-" + v for v in FLOOR_VARIANTS.get(scene, [])]:
            a, b = ("%s-%s-%s-%d" % (scene, size, program, f) for f in CALLGRIND_FRAME_COUNTS)
            if a not in counts:
                continue
            entry = {"scene": scene, "size": size, "program": program}
            if "instructions" in counts[a] and "instructions" in counts[b]:
                frames = CALLGRIND_FRAME_COUNTS[1] - CALLGRIND_FRAME_COUNTS[0]
                entry["per_frame"] = (counts[b]["instructions"] - counts[a]["instructions"]) / frames
                entry["file"] = counts[b]["file"]
            else:
                entry["error"] = counts[a].get("error") or counts[b].get("error")
            results.append(entry)
            progress("  callgrind  %-10s %-7s %-13s %s" % (scene, size, program, entry.get("per_frame", entry.get("error"))))
    for program in ["vorlune", "floor"]:
        base = counts.get("calls-boxcoll-%s-0" % program)
        for function in CALL_FUNCTIONS:
            c = counts.get("calls-%s-%s-%d" % (function, program, CALLGRIND_CALLS))
            if not base or not c:
                continue
            entry = {"scene": "calls", "size": function, "program": program}
            if "instructions" in base and "instructions" in c:
                entry["per_call"] = (c["instructions"] - base["instructions"]) / CALLGRIND_CALLS
                entry["file"] = c["file"]
            else:
                entry["error"] = base.get("error") or c.get("error")
            results.append(entry)
            progress("  callgrind  calls      %-7s %-13s %s" % (function, program, entry.get("per_call", entry.get("error"))))
    return results


def bmp_pixels(path):
    """The pixel bytes of a BMP written by SDL_SaveBMP."""
    with open(path, "rb") as f:
        data = f.read()
    return data[int.from_bytes(data[10:14], "little"):]


def check_identity(environment, display):
    """Draws one frame with each batched floor pattern and with the one-call
    pattern, opaque and translucent, and counts the pixels that differ."""
    results = []
    directory = os.path.join(OUT, "identity")
    os.makedirs(directory, exist_ok=True)
    for scene, variants in FLOOR_VARIANTS.items():
        if scene == "text" and not os.path.exists(os.path.join(OUT, "font.bin")):
            continue
        for size in FRAME_SCENES[scene][:1] if scene != "text" else FRAME_SCENES[scene]:
            for alpha in (255, 128):
                frames = {}
                for variant in ["calls"] + variants:
                    path = os.path.join(directory, "%s-%s-%s-%s-%d.bmp" % (environment, scene, size, variant, alpha))
                    if os.path.exists(path):
                        os.remove(path)
                    env = base_env(environment, "floor", display)
                    env.update(BENCH_ALPHA=str(alpha), BENCH_DUMP=path)
                    run_process([os.path.join(FLOOR, scene), str(size), "0", "1", variant], env, RUN_TIMEOUT)
                    frames[variant] = bmp_pixels(path) if os.path.exists(path) else None
                for variant in variants:
                    a, b = frames["calls"], frames[variant]
                    entry = {"scene": scene, "size": size, "env": environment, "alpha": alpha, "program": "floor-" + variant}
                    if a is None or b is None or len(a) != len(b):
                        entry["error"] = "no frame"
                    else:
                        entry["differing"] = sum(1 for i in range(0, len(a), 4) if a[i:i + 4] != b[i:i + 4])
                    results.append(entry)
    progress("  identity   %s: %s" % (environment, ", ".join(
        "%s %s %s α%d: %s" % (e["scene"], e["size"], e["program"][6:], e["alpha"], e.get("differing", e.get("error")))
        for e in results if e.get("differing") != 0) or "every batched pattern draws the same pixels"))
    return results


class Xvfb:
    """A private X server for the xvfb environment."""

    def __enter__(self):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                                         "-nolisten", "tcp"], pass_fds=(write_end,), stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as f:
            number = f.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number
        return self

    def __exit__(self, *exc):
        self.process.send_signal(signal.SIGTERM)
        self.process.wait(timeout=10)


def version_of(command):
    try:
        p = subprocess.run(command, capture_output=True, text=True, timeout=20)
        return (p.stdout.strip() or p.stderr.strip()).splitlines()[0]
    except (OSError, IndexError, subprocess.TimeoutExpired):
        return "unknown"


def package_version(name):
    p = subprocess.run(["dpkg-query", "-W", "-f=${Version}", name], capture_output=True, text=True)
    return p.stdout.strip() or "unknown"


def load_average():
    """The 1-, 5- and 15-minute load averages: other work on the machine
    slows every figure."""
    with open("/proc/loadavg") as f:
        return " ".join(f.read().split()[:3])


def cpu_model():
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                return line.split(":", 1)[1].strip()
    return platform.processor() or "unknown"


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--runs", type=int, default=3, help="runs per figure (median, min and max of them)")
    parser.add_argument("--budget", type=int, default=1000, help="milliseconds of measured frames per run")
    parser.add_argument("--startup-runs", type=int, default=10, help="hyperfine runs per start-up command")
    parser.add_argument("--only", default="", help="comma-separated scenes (sprites,primitives,text,calls,startup,callgrind)")
    parser.add_argument("--no-callgrind", action="store_true")
    args = parser.parse_args()
    only = [s for s in args.only.split(",") if s]
    started = time.time()

    results = {
        "meta": {
            "date": datetime.datetime.now().strftime("%Y-%m-%d %H:%M"),
            "cpu": cpu_model(),
            "cores": os.cpu_count(),
            "runs": args.runs,
            "budget_ms": args.budget,
            "startup_runs": args.startup_runs,
            "sdl": package_version("libsdl2-2.0-0"),
            "lua": package_version("liblua5.2-0"),
            "love": version_of(["love", "--version"]),
            "mesa": package_version("libgl1-mesa-dri"),
            "kernel": platform.release(),
            "load_start": load_average(),
        },
        "frames": [], "calls": [], "startup": [], "callgrind": [], "identity": [],
    }
    frame_only = [s for s in only if s in FRAME_SCENES]
    want = lambda part: not only or part in only
    for environment in ENVIRONMENTS:
        def run_all(display):
            if not only or frame_only:
                results["identity"] += check_identity(environment, display)
                results["frames"] += measure_frames(environment, display, args.runs, args.budget, frame_only)
            if want("calls"):
                results["calls"] += measure_calls(environment, display, args.runs)
            if want("startup"):
                results["startup"] += measure_startup(environment, display, args.startup_runs)
        progress("environment %s (%d s so far)" % (environment, time.time() - started))
        if environment == "xvfb":
            with Xvfb() as server:
                run_all(server.display)
        else:
            run_all("")
    if not args.no_callgrind and (not only or "callgrind" in only):
        progress("instruction counts (callgrind, headless; %d s so far)" % (time.time() - started))
        results["callgrind"] = measure_callgrind([s for s in only if s in FRAME_SCENES or s == "calls"])
    results["meta"]["seconds"] = round(time.time() - started)
    results["meta"]["load_end"] = load_average()
    with open(os.path.join(OUT, "results.json"), "w") as f:
        json.dump(results, f, indent=1)
    progress("measured in %d s" % results["meta"]["seconds"])


if __name__ == "__main__":
    sys.exit(main())
