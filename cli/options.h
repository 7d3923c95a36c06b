// The command line of the command-line host.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "plugin/zetlib.h"

struct Options {
  std::string drawing;
  std::string plugin;   // empty: the module beside the executable
  std::string session;  // empty: standard input
  std::string output;   // corrected drawing
  std::string picture;  // before/after SVG
  std::string report;   // old and new centre of every hole
  double aperture = 1.0;
  // The batch form: base point, unit, and every hole (all) or the holes like those at `like`.
  std::optional<Point2> base;
  std::string unit;
  bool all = false;
  std::vector<Point2> like;
  bool help = false;     // --help or -h: print the usage and stop
  bool version = false;  // --version: print the version and stop
};

inline constexpr const char* kUsage =
    "usage: tarnell [--plugin MODULE] [--session FILE] [-o OUT.drawing] [--svg PICTURE.svg]\n"
    "               [--report REPORT.txt] [--aperture DISTANCE] DRAWING\n"
    "       tarnell --base X,Y --unit UNIT (--all | --like X,Y [--like X,Y ...])\n"
    "               [-o OUT] [--svg PICTURE.svg] [--report REPORT.txt] DRAWING\n"
    "       tarnell --help | -h | --version\n";

// What --help prints after the usage.
inline constexpr const char* kHelp =
    "\n"
    "Corrects the hole positions of DRAWING with the plug-in MODULE (default: the one beside\n"
    "this program), from the keyboard or from the session FILE (one input per line).\n"
    "\n"
    "  --plugin MODULE      the plug-in module to load\n"
    "  --session FILE       read the inputs from FILE instead of the keyboard\n"
    "  -o, --output FILE    write the corrected drawing to FILE\n"
    "  --svg FILE           write a before/after picture to FILE\n"
    "  --report FILE        write every hole's old and new centre to FILE\n"
    "  --aperture DISTANCE  how far outside a hole's outline a click still picks it (default 1)\n"
    "  --base X,Y           batch: the base point of the grid\n"
    "  --unit UNIT          batch: the move unit, one of 10 5 1 0.5 0.1 0.05 0.01 0.005 0.001\n"
    "                       0.0005 0.0001\n"
    "  --all                batch: correct every hole of the drawing\n"
    "  --like X,Y           batch: correct the holes like the one at X,Y (repeatable)\n"
    "  -h, --help           print this help\n"
    "  --version            print the version\n"
    "\n"
    "Inputs: x,y | pick x,y | window x1,y1 x2,y2 | an empty line or enter (confirm) |\n"
    "        tarnell (run again) | quit; in a dialog: ok, cancel, enter, click ID, click row N,\n"
    "        double-click row N, click below, key up|down|home|end, esc, close.\n"
    "\n"
    "DRAWING is a drawing file of the stand-in host or an ASCII DXF file (told by its content);\n"
    "a DXF file is written back as DXF with only the moved holes' numbers changed.\n"
    "\n"
    "The batch form types for the user what the command asks, through the same steps and\n"
    "dialogs, and prints a summary; it exits 0 only when the correction was done.\n"
    "\n"
    "Exit status: 0 every run ended normally, 1 a run ended with an error of the correction,\n"
    "2 bad input (options, drawing, session or output files).\n";

inline bool IsBatch(const Options& options) {
  return options.base || !options.unit.empty() || options.all || !options.like.empty();
}

// The options of argv, or nullopt with the problem in error.
std::optional<Options> ParseOptions(int argc, char** argv, std::string& error);
