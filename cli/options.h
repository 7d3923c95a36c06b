// The command line of the command-line host.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "plugin/zetlib.h"

// A diameter to choose holes by, or a range of them (low <= high).
struct DiameterRange {
  double low = 0;
  double high = 0;
};

struct Options {
  std::vector<std::string> drawings;  // "-": standard input
  std::string drawing;                // the one being worked on
  std::string plugin;                 // empty: the module beside the executable
  std::string session;                // empty: standard input
  std::string output;                 // corrected drawing ("-": standard output), or a folder
  std::string picture;                // before/after SVG, or a folder
  std::string report;                 // every hole's old and new centre; CSV for *.csv
  double aperture = 1.0;
  bool force = false;  // --force: replace outputs that are read-only
  // The batch form: base point, unit, and which holes: every hole (all), the holes like those
  // at `like`, or those of the kinds, layers and diameters given.
  std::optional<Point2> base;
  std::string unit;  // one of the eleven units, as the move-unit dialog writes it
  bool all = false;
  std::vector<Point2> like;
  std::vector<int> kinds;
  std::vector<std::string> layers;
  std::vector<DiameterRange> diameters;
  bool list = false;        // --list: describe the drawings' holes, correct nothing
  bool transcript = false;  // --transcript: show the batch's transcript
  bool quiet = false;       // --quiet: errors only
  bool help = false;        // --help or -h: print the usage and stop
  bool version = false;     // --version: print the version and stop
};

inline constexpr const char* kUsage =
    "usage: tarnell [--plugin MODULE] [--session FILE] [-o OUT] [--svg PICTURE.svg]\n"
    "               [--report REPORT.txt|.csv] [--aperture DISTANCE] [--force] DRAWING\n"
    "       tarnell --list [--base X,Y --unit UNIT] [SELECTION] DRAWING...\n"
    "       tarnell --base X,Y --unit UNIT SELECTION [-o OUT|FOLDER] [--svg PICTURE.svg|FOLDER]\n"
    "               [--report REPORT.txt|.csv] [--transcript | --quiet] [--force] DRAWING...\n"
    "       tarnell --help | -h | --version\n"
    "SELECTION: --all | --like X,Y ... | --kind N[,N...] | --layer NAME ... | --diameter D[..D2]\n";

// What --help prints after the usage.
inline constexpr const char* kHelp =
    "\n"
    "Corrects the hole positions of DRAWING with the plug-in MODULE (default: the one beside\n"
    "this program, else the installed one), from the keyboard or from the session FILE (one\n"
    "input per line).\n"
    "\n"
    "  --plugin MODULE      the plug-in module to load\n"
    "  --session FILE       read the inputs from FILE instead of the keyboard\n"
    "  -o, --output FILE    write the corrected drawing to FILE (- for standard output); with\n"
    "                       several drawings a folder, each drawing under its own name\n"
    "  --svg FILE           write a before/after picture to FILE (a folder: several drawings)\n"
    "  --report FILE        write every hole's old and new centre to FILE; a CSV table when\n"
    "                       FILE ends in .csv (one file for all the drawings)\n"
    "  --aperture DISTANCE  how far outside a hole's outline a click still picks it (default 1)\n"
    "  --force              replace outputs that are read-only\n"
    "  --list               print each drawing's units, its kinds of hole and what is not\n"
    "                       taken as a hole; with --base and --unit, how many are off the grid\n"
    "  --base X,Y           batch: the base point of the grid\n"
    "  --unit UNIT          batch: the move unit, one of 10 5 1 0.5 0.1 0.05 0.01 0.005 0.001\n"
    "                       0.0005 0.0001 (any spelling of the number: 0.50, .5, 5e-1)\n"
    "  --all                batch: correct every hole of the drawing\n"
    "  --like X,Y           batch: correct the holes like the one at X,Y (repeatable)\n"
    "  --kind N[,N...]      batch: correct the kinds numbered N by --list\n"
    "  --layer NAME         batch: the holes with a circle on layer NAME (repeatable; wildcards\n"
    "                       * ? # @ . ~ [...] as in CAD layer filters)\n"
    "  --diameter D[..D2]   batch: the holes whose largest circle has diameter D (or D to D2)\n"
    "                       --kind, --layer and --diameter together: a hole meets each\n"
    "  --transcript         batch: show what the batch typed and what the command answered\n"
    "  --quiet              batch: print errors only\n"
    "  -h, --help           print this help\n"
    "  --version            print the version\n"
    "\n"
    "Inputs: x,y | pick x,y | window x1,y1 x2,y2 | an empty line or enter (confirm) |\n"
    "        tarnell (run again) | quit; in a dialog: ok, cancel, enter, click ID, click row N,\n"
    "        double-click row N, click below, key up|down|home|end, esc, close.\n"
    "\n"
    "DRAWING is a drawing file of the stand-in host or an ASCII DXF file (told by its content),\n"
    "or - for standard input; a DXF file is written back as DXF with only the moved holes'\n"
    "numbers changed.\n"
    "\n"
    "The batch form types for the user what the command asks, through the same steps and\n"
    "dialogs, and prints one line per drawing and a total.\n"
    "\n"
    "Exit status: 0 every drawing corrected or with nothing to correct, 1 a correction ended with\n"
    "an error of the command, 2 bad input (options, a drawing, the session or an output); with\n"
    "several drawings, the worst of them.\n";

inline bool ChoosesHoles(const Options& options) {
  return options.all || !options.like.empty() || !options.kinds.empty() ||
         !options.layers.empty() || !options.diameters.empty();
}

inline bool IsBatch(const Options& options) {
  return !options.list && (options.base || !options.unit.empty() || ChoosesHoles(options));
}

// The options of argv, or nullopt with the problem in error.
std::optional<Options> ParseOptions(int argc, char** argv, std::string& error);

// The row (from 1) of the move unit that `text` spells as a number, 0 when it is none of them.
int MoveUnitRow(std::string_view text);
