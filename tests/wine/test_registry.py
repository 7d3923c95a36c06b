"""The settings store on the real Windows registry (Wine's): what LoadMethodSetting makes of each
stored "Method" value, what it writes back, and what WriteSettingString and ReadRegistryString
do with forward slashes and Hangul, checked with Wine's own `reg` and with the value's raw type,
byte count and bytes (registry_probe.exe)."""

import os
import re

import winetest

ROOT = "HKCU\\SOFTWARE\\Quillstone"
KEY = "SOFTWARE\\Quillstone\\ZET\\Tarnell"
REG_SZ, REG_BINARY, REG_DWORD = 1, 3, 4


def utf16_hex(text, null=True):
    return (text + ("\0" if null else "")).encode("utf-16-le").hex()


class Registry:
    def __init__(self, wine, probe):
        self.wine = wine
        self.probe = probe

    def probe_run(self, *args):
        return self.wine.run([self.probe] + list(args), timeout=60).stdout.decode("utf-8")

    def clear(self):
        self.wine.run(["reg", "delete", ROOT, "/f"], timeout=60, check=False)

    def store(self, kind, data):
        """Stores "Method" as REG_SZ text, REG_DWORD number or REG_BINARY hex bytes."""
        if kind == REG_BINARY:
            self.probe_run("set-binary", KEY, "Method", data)
            return
        value_type = "REG_SZ" if kind == REG_SZ else "REG_DWORD"
        self.wine.run(["reg", "add", "HKCU\\" + KEY, "/v", "Method", "/t", value_type, "/d",
                       data, "/f"], timeout=60)

    def load(self):
        output = self.probe_run("load")
        match = re.search(r"g_nMethod=(-?\d+)", output)
        if not match:
            raise AssertionError("registry_probe load printed: " + output)
        return int(match.group(1))

    def raw(self, key, name="Method"):
        """(type, byte count, hex bytes) of a value, or None when it is missing."""
        output = self.probe_run("raw", key, name)
        match = re.search(r"type=(\d+) bytes=(\d+) data=([0-9a-f]*)", output)
        return (int(match.group(1)), int(match.group(2)), match.group(3)) if match else None

    def reg_query(self, key, name="Method"):
        result = self.wine.run(["reg", "query", "HKCU\\" + key, "/v", name], timeout=60,
                               check=False)
        return result.returncode, result.stdout.decode("utf-8", errors="replace")


# Stored value -> the mode LoadMethodSetting loads, and the value left in the registry.
LOAD_CASES = [
    ("a stored 1 is specific holes", REG_SZ, "1", 1, (REG_SZ, 4, utf16_hex("1"))),
    ("a stored 2 is not all holes", REG_SZ, "2", 2, (REG_SZ, 4, utf16_hex("2"))),
    ("a stored -1 is not all holes", REG_SZ, "-1", -1, (REG_SZ, 6, utf16_hex("-1"))),
    ("an empty text is all holes, kept", REG_SZ, "", 0, (REG_SZ, 2, utf16_hex(""))),
    ("a text without digits is all holes, kept", REG_SZ, "abc", 0,
     (REG_SZ, 8, utf16_hex("abc"))),
    ("a leading blank is skipped", REG_SZ, " 1", 1, (REG_SZ, 6, utf16_hex(" 1"))),
    ("126 characters are read", REG_SZ, "1" + "x" * 125, 1,
     (REG_SZ, 254, utf16_hex("1" + "x" * 125))),
    ("127 characters are too long and become 0", REG_SZ, "1" + "x" * 126, 0,
     (REG_SZ, 4, utf16_hex("0"))),
    ("the stored type is ignored (DWORD 1 is the character U+0001)", REG_DWORD, "1", 0,
     (REG_DWORD, 4, "01000000")),
    ("an odd last byte is dropped", REG_BINARY, "310032", 1, (REG_BINARY, 3, "310032")),
    ("data without a null ends where it ends", REG_BINARY, "31003200", 12,
     (REG_BINARY, 4, "31003200")),
]


def check_first_load(registry, failures):
    registry.clear()
    mode = registry.load()
    if mode != 0:
        failures.append("first load: mode %d, expected 0" % mode)
    code, text = registry.reg_query(KEY)
    if code != 0 or not re.search(r"Method\s+REG_SZ\s+0\s*$", text, re.MULTILINE):
        failures.append("first load: reg query shows no REG_SZ \"0\":\n" + text)
    raw = registry.raw(KEY)
    if raw != (REG_SZ, 4, utf16_hex("0")):
        failures.append("first load: Method is %r, expected REG_SZ of 4 bytes \"0\"" % (raw,))


def check_loads(registry, failures):
    for name, kind, data, mode, left in LOAD_CASES:
        registry.clear()
        registry.store(kind, data)
        loaded = registry.load()
        raw = registry.raw(KEY)
        if loaded != mode:
            failures.append("%s: mode %d, expected %d" % (name, loaded, mode))
        if raw != left:
            failures.append("%s: registry holds %r, expected %r" % (name, raw, left))


def check_writes_and_reads(registry, failures):
    registry.clear()
    written = registry.probe_run("write", "Tarnell/Sub", "Method", "1")
    if "written=1" not in written:
        failures.append("write under Tarnell/Sub failed: " + written)
    raw = registry.raw(KEY + "\\Sub")
    if raw != (REG_SZ, 4, utf16_hex("1")):
        failures.append("forward slashes: Tarnell\\Sub holds %r" % (raw,))
    read = registry.probe_run("read", "SOFTWARE/Quillstone/ZET/Tarnell/Sub", "Method")
    if "result=0 text=[1]" not in read:
        failures.append("forward slashes on reading: " + read)
    hangul = "\uad6c\uba4d"  # 구멍
    written = registry.probe_run("write", "Tarnell", "Note", hangul)
    raw = registry.raw(KEY, "Note")
    if "written=1" not in written or raw != (REG_SZ, 6, utf16_hex(hangul)):
        failures.append("Hangul text stored as %r" % (raw,))
    read = registry.probe_run("read", KEY, "Note")
    if "result=0 text=[%s]" % hangul not in read:
        failures.append("Hangul text read back as: " + read)
    missing = registry.probe_run("read", KEY + "\\Missing", "Method")
    if "result=-1 text=[]" not in missing:
        failures.append("reading a missing key: " + missing)
    registry.clear()


def main():
    args = winetest.arguments()
    winetest.require_wine()
    probe = os.path.join(args.bin, "registry_probe.exe")
    winetest.require_files(probe)
    failures = []
    with winetest.started(args.work) as wine:
        os.environ["LC_ALL"] = "C.UTF-8"  # command-line arguments reach Windows as UTF-8
        registry = Registry(wine, probe)
        check_first_load(registry, failures)
        check_loads(registry, failures)
        check_writes_and_reads(registry, failures)
    winetest.exit_on_failures(failures)
    print("settings store on the Windows registry: %d cases as expected" % (len(LOAD_CASES) + 7))


if __name__ == "__main__":
    main()
