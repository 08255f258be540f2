"""Runs the real CoraxToPalm.dll inside corax-sim.exe under Wine.

Each test gets a folder of its own with a copy of the DLL (so that its INI
file is its own) and reads the simulator's transcript as a list of events.
The Wine prefix is shared by the whole run; tests that use the registry set
the keys they need and remove them again.

CTP_WIN32_BUILD names the build under test: the i686 one, or the x86_64 one
that 64-bit Wine runs where the kernel runs no 32-bit programs. The loader
is Wine's 64-bit one, which hands 32-bit programs to the 32-bit loader, so
reg and the programs of either build start the same way. Where 32-bit
programs are emulated they run several times slower: CTP_E2E_TIMEOUT_SCALE
stretches every time limit.
"""
import json
import os
import shutil
import subprocess
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WIN32_BUILD = os.path.abspath(os.environ.get("CTP_WIN32_BUILD", os.path.join(ROOT, "build", "win32")))
NATIVE_BUILD = os.environ.get("CTP_NATIVE_BUILD", os.path.join(ROOT, "build", "native"))
SIMULATOR = os.path.join(WIN32_BUILD, "corax-sim.exe")
SIMULATOR_MISSING = os.path.join(WIN32_BUILD, "corax-sim-missing.exe")
PLUGIN = os.path.join(WIN32_BUILD, "CoraxToPalm.dll")
TOOL = os.path.join(NATIVE_BUILD, "coraxtopalm")
WORK = os.path.join(WIN32_BUILD, "e2e-work")
WINE = os.environ.get("CTP_WINE", "/usr/lib/wine/wine64")
TIMEOUT_SCALE = float(os.environ.get("CTP_E2E_TIMEOUT_SCALE", "1"))

PALM_CORE_KEY = r"HKCU\Software\U.S. Robotics\Pilot Desktop\Core"
HOTSYNC_KEY = r"HKCU\Software\U.S. Robotics\Pilot Desktop\HotSync Manager"
PALM_ROOT_KEY = r"HKCU\Software\U.S. Robotics"


def windows_path(path):
    """Wine maps the Unix root to drive Z:."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wine_env():
    env = dict(os.environ)
    env.setdefault("WINEDEBUG", "-all")
    env["LC_ALL"] = "ja_JP.UTF-8"
    return env


def scaled(seconds):
    return seconds * TIMEOUT_SCALE


def wine(*args, check=True, timeout=120):
    return subprocess.run([WINE, *args], env=wine_env(), check=check, timeout=scaled(timeout),
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE)


def reg_add(key, name, kind, data):
    wine("reg", "add", key, "/v", name, "/t", kind, "/d", str(data), "/f")


def reg_add_key(key):
    wine("reg", "add", key, "/f")


def reg_delete(key):
    wine("reg", "delete", key, "/f", check=False)


def reg_query(key, name):
    """The value's type and data as reg prints them, or None."""
    result = wine("reg", "query", key, "/v", name, check=False)
    if result.returncode != 0:
        return None
    for line in result.stdout.decode("utf-8", "replace").splitlines():
        parts = line.split()
        if len(parts) >= 3 and parts[0] == name:
            return parts[1], parts[2]
    return None


def unpack(pdb):
    """The text of a Palm DOC, as the tool unpacks it."""
    return subprocess.run([TOOL, "unpack", pdb], check=True, stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL).stdout


def tool_document(folder, mailbox, *options):
    """The text of the document that the tool's convert makes of a mailbox."""
    pdb = os.path.join(folder, "tool.pdb")
    subprocess.run([TOOL, "convert", *options, mailbox, pdb], check=True, stderr=subprocess.DEVNULL)
    return unpack(pdb)


def read_ini(path):
    """A private-profile file as {section: {key: value}}, in file order."""
    sections = {}
    current = None
    with open(path, "rb") as f:
        for raw in f.read().decode("cp932").splitlines():
            line = raw.strip()
            if line.startswith("[") and line.endswith("]"):
                current = sections.setdefault(line[1:-1], {})
            elif "=" in line and current is not None:
                key, value = line.split("=", 1)
                current[key] = value
    return sections


def write_ini(path, sections):
    lines = []
    for section, values in sections.items():
        lines.append("[%s]" % section)
        lines.extend("%s=%s" % (k, v) for k, v in values.items())
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("cp932"))


class SimulatorRun:
    def __init__(self, events, returncode, stderr):
        self.events = events
        self.returncode = returncode
        self.stderr = stderr

    def of(self, kind):
        return [e for e in self.events if e["event"] == kind]

    def calls(self):
        return [e["name"] for e in self.of("call")]

    def macros(self):
        return [e["text"] for e in self.of("macro")]

    def boxes(self):
        return self.of("box")


class PluginTestCase(unittest.TestCase):
    """A folder of its own per test, with its own copy of the plug-in."""

    def setUp(self):
        self.dir = os.path.join(WORK, self.id().split(".", 1)[1])
        shutil.rmtree(self.dir, ignore_errors=True)
        os.makedirs(self.dir)
        self.plugin = os.path.join(self.dir, "CoraxToPalm.dll")
        shutil.copy(PLUGIN, self.plugin)
        self.ini = os.path.join(self.dir, "CoraxToPalm.ini")
        self.tmp = os.path.join(self.dir, "tmp")
        self.log = os.path.join(self.dir, "transcript.jsonl")
        os.makedirs(self.tmp)

    def simulator_command(self, *args, simulator=SIMULATOR, tmp=True):
        """Runs the simulator on this test's copy of the plug-in, its transcript in self.log."""
        command = [WINE, simulator, "--plugin", windows_path(self.plugin), "--log", windows_path(self.log)]
        if tmp:
            command += ["--tmp", windows_path(self.tmp)]
        return command + list(args)

    def run_sim(self, *args, simulator=SIMULATOR, tmp=True, timeout=120):
        result = subprocess.run(self.simulator_command(*args, simulator=simulator, tmp=tmp), env=wine_env(),
                                timeout=scaled(timeout), stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        events = []
        if os.path.exists(self.log):
            with open(self.log, encoding="utf-8") as f:
                events = [json.loads(line) for line in f if line.strip()]
        run = SimulatorRun(events, result.returncode, result.stderr.decode("utf-8", "replace"))
        # Whatever else a test asks, the plug-in keeps the host's contract:
        # messages released, exports that return the stack as they found it.
        self.assertEqual(run.of("violation"), [])
        return run
