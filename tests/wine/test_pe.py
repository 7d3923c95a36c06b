"""The built modules as the CAD host's loader sees them: Tarnell.dll exports Startup and nothing
else, imports the host functions from ZetLib.dll by name and no MinGW runtime DLL, and carries
the dialog templates, the version block and the manifest exactly as the template tables and the
version table say. The expected templates come from the tables themselves
(dump_dialog_templates.exe, run under Wine)."""

import json
import os
import re
import struct
import sys
import xml.etree.ElementTree as ElementTree

import pefile

import winetest

RT_DIALOG = 5
RT_VERSION = 16
RT_MANIFEST = 24
LANG_KOREAN = 0x0412
WS_CHILD = 0x40000000
DS_SETFONT = 0x40
# Predefined window classes, which a template may name by ordinal.
CLASS_ORDINALS = {0x80: "Button", 0x81: "Edit", 0x82: "Static", 0x83: "ListBox",
                  0x84: "ScrollBar", 0x85: "ComboBox"}
MINGW_RUNTIMES = {"libstdc++-6.dll", "libgcc_s_seh-1.dll", "libwinpthread-1.dll"}
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "comctl32.dll", "advapi32.dll", "msvcrt.dll",
               "gdi32.dll", "shell32.dll"}

EXPECTED_VERSION_STRINGS = {
    "CompanyName": "Quillstone",
    "FileDescription": "\uad6c\uba4d\uc704\uce58\ubcf4\uc815",  # 구멍위치보정
    "FileVersion": "4.2.1.1",
    "InternalName": "Tarnell.dll",
    "OriginalFilename": "Tarnell.dll[apTarnell_16.png,apTarnell_24.png,apTarnell_32.png]",
    "ProductName": "Tarnell Dll",
    "ProductVersion": "1.3.4.2.1.1",
}


class Reader:
    """Reads a resource's little-endian fields in order."""

    def __init__(self, data):
        self.data = data
        self.at = 0

    def take(self, fmt):
        values = struct.unpack_from("<" + fmt, self.data, self.at)
        self.at += struct.calcsize("<" + fmt)
        return values if len(values) > 1 else values[0]

    def text(self):
        end = self.at
        while self.data[end:end + 2] != b"\0\0":
            end += 2
        value = self.data[self.at:end].decode("utf-16-le")
        self.at = end + 2
        return value

    def text_or_ordinal(self):
        if struct.unpack_from("<H", self.data, self.at)[0] == 0xFFFF:
            self.at += 2
            return self.take("H")
        return self.text()

    def align(self, size):
        self.at = (self.at + size - 1) // size * size


def parse_dialog(data):
    """A DLGTEMPLATEEX with its DLGITEMTEMPLATEEX items."""
    r = Reader(data)
    version, signature = r.take("HH")
    assert (version, signature) == (1, 0xFFFF), "not an extended dialog template"
    help_id, ex_style, style, count = r.take("IIIH")
    x, y, cx, cy = r.take("hhhh")
    dialog = {"helpId": help_id, "exStyle": ex_style, "style": style, "x": x, "y": y,
              "cx": cx, "cy": cy, "menu": r.text_or_ordinal(),
              "windowClass": r.text_or_ordinal(), "caption": r.text(), "controls": []}
    if style & DS_SETFONT:
        dialog["pointSize"], dialog["weight"], dialog["italic"], dialog["charset"] = \
            r.take("HHBB")
        dialog["font"] = r.text()
    for _ in range(count):
        r.align(4)
        help_id, ex_style, style = r.take("III")
        x, y, cx, cy = r.take("hhhh")
        control_id = r.take("i")
        window_class = r.text_or_ordinal()
        title = r.text_or_ordinal()
        extra = r.take("H")
        r.at += extra
        dialog["controls"].append({
            "helpId": help_id, "exStyle": ex_style, "style": style, "x": x, "y": y, "cx": cx,
            "cy": cy, "id": control_id,
            "class": CLASS_ORDINALS.get(window_class, window_class), "text": title})
    return dialog


def resources(pe, type_id):
    """{(name id, language): bytes} of one resource type."""
    found = {}
    for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if entry.id != type_id:
            continue
        for name in entry.directory.entries:
            for language in name.directory.entries:
                rva, size = language.data.struct.OffsetToData, language.data.struct.Size
                found[(name.id, language.id)] = pe.get_data(rva, size)
    return found


class Checks:
    def __init__(self):
        self.failures = []

    def equal(self, what, actual, expected):
        if actual != expected:
            self.failures.append("%s: %r, expected %r" % (what, actual, expected))

    def true(self, what, condition):
        if not condition:
            self.failures.append(what)


def imports_of(pe):
    table = {}
    for module in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []):
        table[module.dll.decode().lower()] = [
            (imp.name.decode() if imp.name else "#%d" % imp.ordinal) for imp in module.imports]
    return table


def host_function_names(source):
    with open(os.path.join(source, "plugin", "zetlib.h"), encoding="utf-8") as header:
        declared = set(re.findall(r"ZETLIB_API[^;(]*?\b(Zet\w+)\s*\(", header.read()))
    with open(os.path.join(source, "resources", "ZetLib.def"), encoding="utf-8") as definition:
        listed = set(re.findall(r"^\s+(Zet\w+)\s*$", definition.read(), re.MULTILINE))
    return declared, listed


def check_plugin_binding(checks, plugin, source):
    checks.equal("Tarnell.dll exports",
                  [s.name.decode() if s.name else s.ordinal
                   for s in plugin.DIRECTORY_ENTRY_EXPORT.symbols], ["Startup"])
    imports = imports_of(plugin)
    declared, listed = host_function_names(source)
    checks.equal("host functions declared in zetlib.h", len(declared), 31)
    checks.equal("ZetLib.def lists the functions zetlib.h declares", listed, declared)
    checks.equal("functions imported from ZetLib.dll", sorted(imports.get("zetlib.dll", [])),
                 sorted(declared))
    check_runtime_free(checks, "Tarnell.dll", imports)


def check_runtime_free(checks, module, imports):
    checks.true("%s imports a MinGW runtime DLL: %s" % (module, sorted(imports)),
                not MINGW_RUNTIMES & set(imports))
    unexpected = set(imports) - SYSTEM_DLLS - {"zetlib.dll"}
    checks.true("%s imports unexpected DLLs: %s" % (module, sorted(unexpected)), not unexpected)


def check_dialogs(checks, plugin, expected_templates):
    dialogs = resources(plugin, RT_DIALOG)
    checks.equal("dialog resources (id, language)", sorted(dialogs),
                 sorted((int(i), LANG_KOREAN) for i in expected_templates))
    for template_id, expected in expected_templates.items():
        data = dialogs.get((int(template_id), LANG_KOREAN))
        if data is None:
            continue
        actual = parse_dialog(data)
        where = "dialog %s" % template_id
        checks.equal(where + " language", expected["language"], LANG_KOREAN)
        for field in ("caption", "font", "pointSize", "weight", "charset", "style", "x", "y",
                      "cx", "cy"):
            checks.equal("%s %s" % (where, field), actual.get(field), expected[field])
        checks.equal(where + " italic", actual.get("italic"), expected["italic"])
        for field, value in (("menu", ""), ("windowClass", ""), ("exStyle", 0), ("helpId", 0)):
            checks.equal("%s %s" % (where, field), actual[field], value)
        check_controls(checks, where, actual["controls"], expected["controls"])


def check_controls(checks, where, actual, expected):
    checks.equal(where + " control count", len(actual), len(expected))
    for position, (got, want) in enumerate(zip(actual, expected)):
        at = "%s control %d (id %d)" % (where, position, want["id"])
        checks.equal(at + " id", got["id"], want["id"])
        checks.equal(at + " class", got["class"], want["class"])
        checks.equal(at + " text", got["text"], want["text"])
        checks.equal(at + " style", hex(got["style"]), hex(want["style"] | WS_CHILD))
        checks.equal(at + " rectangle", (got["x"], got["y"], got["cx"], got["cy"]),
                     (want["x"], want["y"], want["cx"], want["cy"]))
        checks.equal(at + " extended style and help id", (got["exStyle"], got["helpId"]), (0, 0))


def check_version(checks, plugin):
    checks.equal("version resources (id, language)", sorted(resources(plugin, RT_VERSION)),
                 [(1, LANG_KOREAN)])
    fixed = plugin.VS_FIXEDFILEINFO[0]
    checks.equal("fixed file version", (fixed.FileVersionMS, fixed.FileVersionLS),
                 (0x00040002, 0x00010001))
    checks.equal("fixed product version", (fixed.ProductVersionMS, fixed.ProductVersionLS),
                 (0x00040002, 0x00010001))
    checks.equal("file OS", hex(fixed.FileOS), hex(0x40004))
    checks.equal("file type (VFT_DLL)", fixed.FileType, 2)
    blocks, translations = {}, []
    for info in plugin.FileInfo:
        for entry in info:
            for table in getattr(entry, "StringTable", []):
                blocks[table.LangID.decode()] = {
                    k.decode(): v.decode() for k, v in table.entries.items()}
            for var in getattr(entry, "Var", []):
                translations.append(var.entry)
    checks.equal("string blocks", sorted(blocks), ["041204b0"])
    checks.equal("version strings", blocks.get("041204b0"), EXPECTED_VERSION_STRINGS)
    checks.equal("translation", translations, [{b"Translation": "0x0412 0x04b0"}])


def check_manifest(checks, plugin, source):
    manifests = resources(plugin, RT_MANIFEST)
    checks.equal("manifest resources (id, language)", sorted(manifests), [(2, LANG_KOREAN)])
    data = manifests.get((2, LANG_KOREAN), b"")
    with open(os.path.join(source, "resources", "Tarnell.manifest"), "rb") as manifest:
        checks.equal("manifest text", data, manifest.read())
    root = ElementTree.fromstring(data)
    level = root.find(".//{urn:schemas-microsoft-com:asm.v3}requestedExecutionLevel")
    checks.equal("execution level", None if level is None else dict(level.attrib),
                 {"level": "asInvoker", "uiAccess": "false"})
    dpi = root.find(".//{http://schemas.microsoft.com/SMI/2005/WindowsSettings}dpiAware")
    checks.equal("DPI awareness", None if dpi is None else dpi.text, "true")


def check_host_and_cli(checks, bin_dir):
    """ZetLib.dll offers the Zet* functions and the stand-in's C++ interface; neither it nor
    tarnell.exe needs a MinGW runtime DLL."""
    zetlib = pefile.PE(os.path.join(bin_dir, "ZetLib.dll"))
    names = {s.name.decode() for s in zetlib.DIRECTORY_ENTRY_EXPORT.symbols if s.name}
    checks.true("ZetLib.dll exports every Zet* function",
                {n for n in names if n.startswith("Zet")} >= set(imports_of(
                    pefile.PE(os.path.join(bin_dir, "Tarnell.dll")))["zetlib.dll"]))
    checks.true("ZetLib.dll exports the zethost C++ interface",
                any(n.startswith("_ZN7zethost") for n in names))
    check_runtime_free(checks, "ZetLib.dll", imports_of(zetlib))
    check_runtime_free(checks, "tarnell.exe",
                       imports_of(pefile.PE(os.path.join(bin_dir, "tarnell.exe"))))


def expected_templates(wine, bin_dir):
    result = wine.run([os.path.join(bin_dir, "dump_dialog_templates.exe")], timeout=60)
    return json.loads(result.stdout.decode("ascii"))["templates"]


def main():
    args = winetest.arguments()
    winetest.require_wine()
    names = ["Tarnell.dll", "ZetLib.dll", "tarnell.exe", "dump_dialog_templates.exe"]
    winetest.require_files(*[os.path.join(args.bin, n) for n in names])
    with winetest.started(args.work) as wine:
        templates = expected_templates(wine, args.bin)
    checks = Checks()
    plugin = pefile.PE(os.path.join(args.bin, "Tarnell.dll"))
    check_plugin_binding(checks, plugin, args.source)
    check_dialogs(checks, plugin, templates)
    check_version(checks, plugin)
    check_manifest(checks, plugin, args.source)
    check_host_and_cli(checks, args.bin)
    for failure in checks.failures:
        print("FAIL: " + failure)
    if checks.failures:
        sys.exit(1)
    print("Tarnell.dll: exports, imports, dialogs 17001 and 12000, version block and manifest "
          "as expected")


if __name__ == "__main__":
    main()
