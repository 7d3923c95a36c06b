"""The batch under Wine keeps the plug-in's settings of its run in memory: whatever the user's
registry holds under the Tarnell key (nothing, the all-holes mode, the specific-holes mode), the
batch goes through the mode dialog, corrects the DXF plate, and leaves HKEY_CURRENT_USER exactly
as it was, with no key of its own left behind."""

import os

import winetest

KEY = "HKCU\\SOFTWARE\\Quillstone\\ZET\\Tarnell"


def registry_text(wine):
    """The Quillstone keys with their values, and the keys directly below HKEY_CURRENT_USER."""
    texts = []
    for args in (["HKCU\\SOFTWARE\\Quillstone", "/s"], ["HKCU"]):
        result = wine.run(["reg", "query"] + args, check=False)
        texts.append("%d\n%s" % (result.returncode, result.stdout.decode(errors="replace")))
    return "\n".join(texts)


def main():
    args = winetest.arguments()
    winetest.require_wine()
    exe = os.path.join(args.bin, "tarnell.exe")
    winetest.require_files(exe, os.path.join(args.bin, "Tarnell.dll"))
    plate = winetest.windows_path(os.path.join(args.source, "examples", "plate.dxf"))
    out = os.path.join(args.work, "batch-settings.dxf")
    failures = []
    with winetest.started(args.work, display=True) as wine:
        try:
            for stored in (None, "0", "1"):
                name = "stored mode %s" % stored
                wine.run(["reg", "delete", "HKCU\\SOFTWARE\\Quillstone", "/f"], check=False)
                if stored is not None:
                    wine.run(["reg", "add", KEY, "/v", "Method", "/t", "REG_SZ", "/d", stored,
                              "/f"])
                before = registry_text(wine)
                result = wine.run([exe, "--transcript", "--base", "0,0", "--unit", "0.5", "--all",
                                   plate, "-o",
                                   winetest.windows_path(out)], timeout=120, check=False)
                output = (result.stdout + result.stderr).decode(errors="replace")
                if result.returncode != 0 or "holes moved" not in output:
                    failures.append("%s: exit status %d\n%s" % (name, result.returncode, output))
                if "click 15001" not in output:
                    failures.append("%s: the batch did not choose the mode\n%s" % (name, output))
                after = registry_text(wine)
                if after != before:
                    failures.append("%s: the registry changed\n--- before\n%s\n--- after\n%s"
                                    % (name, before, after))
        finally:
            wine.run(["reg", "delete", "HKCU\\SOFTWARE\\Quillstone", "/f"], check=False)
    winetest.exit_on_failures(failures)
    print("the batch left the registry as it was for 3 stored modes")


if __name__ == "__main__":
    main()
