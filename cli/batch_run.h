// The batch form and --list over one or more drawings.
#pragma once

#include "cli/options.h"
#include "cli/plugin_loader.h"

// Exit statuses: every run ended normally; a run ended with an error of the relocation; bad
// input (options, drawing, session, output files) or an output that could not be written.
inline constexpr int kExitOk = 0;
inline constexpr int kExitCorrectionFailed = 1;
inline constexpr int kExitBadInput = 2;

// The value the host hands the plug-in through Startup and gets back at registration.
inline constexpr std::uint64_t kHostToken = 0x5A45544CULL;

// Loads the plug-in and calls its Startup; false with the reason.
bool StartPlugin(const Options& options, LoadedPlugin& plugin, std::string& error);

// Prints what each drawing holds; the worst status of the drawings.
int ListDrawings(const Options& options);

// Corrects each drawing in turn, a summary line each and a total; the worst status.
int RunBatch(const Options& options);
