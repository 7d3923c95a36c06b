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
};

inline constexpr const char* kUsage =
    "usage: tarnell [--plugin MODULE] [--session FILE] [-o OUT.drawing] [--svg PICTURE.svg]\n"
    "               [--report REPORT.txt] [--aperture DISTANCE] DRAWING\n";

// The options of argv, or nullopt with the problem in error.
std::optional<Options> ParseOptions(int argc, char** argv, std::string& error);
