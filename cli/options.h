// The command line of the command-line host.
#pragma once

#include <optional>
#include <string>

struct Options {
  std::string drawing;
  std::string plugin;   // empty: the module beside the executable
  std::string session;  // empty: standard input
  std::string output;   // corrected drawing
  std::string picture;  // before/after SVG
  std::string report;   // old and new centre of every hole
  double aperture = 1.0;
  bool help = false;     // --help or -h: print the usage and stop
  bool version = false;  // --version: print the version and stop
};

inline constexpr const char* kUsage =
    "usage: tarnell [--plugin MODULE] [--session FILE] [-o OUT.drawing] [--svg PICTURE.svg]\n"
    "               [--report REPORT.txt] [--aperture DISTANCE] DRAWING\n"
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
    "  -h, --help           print this help\n"
    "  --version            print the version\n"
    "\n"
    "Inputs: x,y | pick x,y | window x1,y1 x2,y2 | an empty line or enter (confirm) |\n"
    "        tarnell (run again) | quit; in a dialog: ok, cancel, enter, click ID, click row N,\n"
    "        double-click row N, click below, key up|down|home|end, esc, close.\n"
    "\n"
    "Exit status: 0 every run ended normally, 1 a run ended with an error of the correction,\n"
    "2 bad input (options, drawing, session or output files).\n";

// The options of argv, or nullopt with the problem in error.
std::optional<Options> ParseOptions(int argc, char** argv, std::string& error);
