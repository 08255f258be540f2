"""Exports one large folder in the host simulator under Wine and reports the
time and the simulator's peak memory for 2,000 and 20,000 messages of about
4 KB, after one small export that warms Wine up. Messages are streamed, so
the peak should stay flat as the folder grows.

usage: python3 bench/large_folder.py [COUNT...]   (run after scripts/test or scripts/lib/build)
"""
import os
import resource
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from harness import PLUGIN, SIMULATOR, WIN32_BUILD, wine_env, windows_path  # noqa: E402

MESSAGE_BODY_BYTES = 4000
WARM_UP_MESSAGES = 10
LINE = "今日の議事録です。The minutes of today's meeting follow in full.\n"


def write_mailbox(path, count):
    body = (LINE * (MESSAGE_BODY_BYTES // len(LINE.encode("cp932")) + 1)).encode("cp932")[:MESSAGE_BODY_BYTES]
    with open(path, "wb") as f:
        for i in range(count):
            f.write(b"From bench@example.jp Mon Dec  7 10:00:00 2026\n")
            f.write(("Subject: [bench:%05d] 議事録 %d\nFrom: Bench <bench@example.jp>\n"
                     "Date: Mon, 7 Dec 2026 10:00:00 +0900\n\n" % (i, i)).encode("cp932"))
            f.write(body + b"\n\n")


def run(count):
    work = os.path.join(WIN32_BUILD, "bench-large-%d" % count)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(os.path.join(work, "mail", "Account", "main"))
    os.makedirs(os.path.join(work, "tmp"))
    shutil.copy(PLUGIN, work)
    write_mailbox(os.path.join(work, "mail", "Account", "main", "inbox.ctx"), count)
    command = ["wine", SIMULATOR, "--plugin", windows_path(os.path.join(work, "CoraxToPalm.dll")),
               "--tmp", windows_path(os.path.join(work, "tmp")), "--mailroot", windows_path(os.path.join(work, "mail")),
               "--folder", "main\\inbox", "--log", windows_path(os.path.join(work, "transcript.jsonl")),
               "--run", "unread"]
    # Each run in a child of its own, so that the peak it reports is its own.
    pid = os.fork()
    if pid == 0:
        start = time.monotonic()
        subprocess.run(command, env=wine_env(), check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        elapsed = time.monotonic() - start
        peak_kib = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
        with open(os.path.join(work, "result"), "w") as f:
            f.write("%f %d" % (elapsed, peak_kib))
        os._exit(0)
    os.waitpid(pid, 0)
    with open(os.path.join(work, "result")) as f:
        elapsed, peak_kib = f.read().split()
    size = os.path.getsize(os.path.join(work, "mail", "Account", "main", "inbox.ctx"))
    shutil.rmtree(work, ignore_errors=True)
    return float(elapsed), int(peak_kib), size


def main():
    counts = [int(a) for a in sys.argv[1:]] or [2000, 20000]
    # Wine's first start (its prefix, its server) takes seconds that no later
    # run pays: a small export first, not measured.
    run(WARM_UP_MESSAGES)
    results = {}
    for count in counts:
        elapsed, peak, size = run(count)
        results[count] = (elapsed, peak)
        print("%6d messages (%6.1f MB): %6.2f s, peak memory %7.1f MB" % (count, size / 1e6, elapsed, peak / 1024))
    if len(counts) >= 2:
        small, large = results[counts[0]], results[counts[-1]]
        print("growth x%.0f: time x%.2f, peak memory x%.2f" % (counts[-1] / counts[0], large[0] / small[0], large[1] / small[1]))


if __name__ == "__main__":
    main()
