#!/usr/bin/env python3
"""Processor time and memory of a whole process tree, read from /proc.

  proctree.py cpu PID SECONDS [TOP]   percent of one core used by PID and all its descendants
                                      over SECONDS, then each process's share and the TOP busiest threads (5)
  proctree.py pss PID                 the tree's proportional set size in kB, and its processes
  proctree.py pids PID                PID and its descendants, one a line
"""
import os
import sys
import time

TICKS = os.sysconf("SC_CLK_TCK")


def stat_fields(path):
    with open(path) as f:
        text = f.read()
    # The command name is in parentheses and may hold blanks; the fields follow it.
    close = text.rindex(")")
    return text[text.index("(") + 1:close], text[close + 2:].split()


def tree(root):
    children = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            _, fields = stat_fields(f"/proc/{entry}/stat")
        except OSError:
            continue
        children.setdefault(int(fields[1]), []).append(int(entry))
    found, todo = [], [root]
    while todo:
        pid = todo.pop()
        found.append(pid)
        todo.extend(children.get(pid, []))
    return found


def kind(pid):
    """Chromium's --type= of a web helper (renderer, gpu-process...), or ""."""
    try:
        with open(f"/proc/{pid}/cmdline", "rb") as f:
            # Chromium's processes rewrite their command line as one blank-separated string.
            args = f.read().decode(errors="replace").replace("\0", " ").split()
    except OSError:
        return ""
    return next((a.split("=", 1)[1] for a in args if a.startswith("--type=")), "")


def role(pid):
    try:
        name, fields = stat_fields(f"/proc/{pid}/stat")
    except OSError:
        return "?"
    what = kind(pid)
    # Renderers forked by the zygote keep its command line unless they rewrite it.
    if what == "zygote" and kind(int(fields[1])) == "zygote":
        what = "renderer"
    return f"{name}[{what}]" if what else name


def busy(fields):
    return int(fields[11]) + int(fields[12])  # utime + stime, in ticks


def sample(root):
    """Ticks per process (threads dead or alive) and per live thread."""
    procs, threads = {}, {}
    for pid in tree(root):
        try:
            _, fields = stat_fields(f"/proc/{pid}/stat")
            procs[pid] = busy(fields)
            for tid in os.listdir(f"/proc/{pid}/task"):
                name, tf = stat_fields(f"/proc/{pid}/task/{tid}/stat")
                threads[(pid, int(tid))] = (name, busy(tf))
        except OSError:
            continue  # it ended while being read
    return procs, threads


def cpu(root, seconds, top):
    start_procs, start_threads = sample(root)
    began = time.monotonic()
    time.sleep(seconds)
    end_procs, end_threads = sample(root)
    elapsed = time.monotonic() - began
    # A process born during the window counts whole; one that ended is lost with its time.
    total = sum(t - start_procs.get(pid, 0) for pid, t in end_procs.items())
    print(f"cpu {100.0 * total / TICKS / elapsed:.1f}")
    spent = sorted(((t - start_procs.get(pid, 0), f"{role(pid)}:{pid}")
                    for pid, t in end_procs.items()), reverse=True)
    print("procs " + ", ".join(f"{who} {100.0 * t / TICKS / elapsed:.1f}"
                               for t, who in spent if t > 0))
    used = []
    for key, (name, ticks) in end_threads.items():
        spent = ticks - start_threads.get(key, (name, 0))[1]
        if spent > 0:
            used.append((spent, f"{role(key[0])}/{name}"))
    used.sort(reverse=True)
    print("top " + ", ".join(f"{who} {100.0 * t / TICKS / elapsed:.1f}"
                             for t, who in used[:top]))


def mappings(pid):
    """PSS in kB of each kind of mapping: its file's name, or [heap], [stack], [anon]."""
    kinds = {}
    name = None
    with open(f"/proc/{pid}/smaps") as f:
        for line in f:
            first = line.split()
            if "-" in first[0] and not first[0].endswith(":"):
                name = os.path.basename(first[5]) if len(first) > 5 else "[anon]"
            elif first[0] == "Pss:":
                kinds[name] = kinds.get(name, 0) + int(first[1])
    return kinds


def pss(root):
    each = []
    detail = os.environ.get("PSS_DETAIL")  # a file that gets each process's largest mappings
    for pid in tree(root):
        try:
            with open(f"/proc/{pid}/smaps_rollup") as f:
                kb = sum(int(line.split()[1]) for line in f if line.startswith("Pss:"))
            each.append((kb, f"{role(pid)}:{pid}"))
            if detail:
                kinds = sorted(((v, k) for k, v in mappings(pid).items()), reverse=True)[:8]
                with open(detail, "a") as out:
                    out.write(f"{role(pid)}:{pid} {kb // 1024} MB: " +
                              ", ".join(f"{k} {v // 1024}" for v, k in kinds) + "\n")
        except OSError:
            continue
    total = sum(kb for kb, _ in each)
    if total == 0:
        sys.exit(f"no process left of {root}")
    print(f"pss {total} {len(each)}")
    each.sort(reverse=True)
    print("pssprocs " + ", ".join(f"{who} {kb // 1024}" for kb, who in each))


if __name__ == "__main__":
    if len(sys.argv) >= 4 and sys.argv[1] == "cpu":
        cpu(int(sys.argv[2]), float(sys.argv[3]), int(sys.argv[4]) if len(sys.argv) > 4 else 5)
    elif len(sys.argv) == 3 and sys.argv[1] == "pss":
        pss(int(sys.argv[2]))
    elif len(sys.argv) == 3 and sys.argv[1] == "pids":
        print("\n".join(map(str, tree(int(sys.argv[2])))))
    else:
        sys.exit(__doc__)
