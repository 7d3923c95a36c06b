"""Creates the build's private Wine prefix (wineboot, Korean fonts) before the other Wine tests
run; they all require it as a CTest fixture."""

import winetest


def main():
    args = winetest.arguments()
    winetest.require_wine()
    wine = winetest.Wine(args.work)
    wine.ensure_prefix()
    wine.shutdown()
    print("Wine prefix ready: " + wine.prefix)


if __name__ == "__main__":
    main()
