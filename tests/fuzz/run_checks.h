// The properties a finished run of the command must have, checked against the drawing as the run
// found it. Each violated property aborts through FuzzFail.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "host/stand_in.h"

// The host's view of the plug-in: every record, id array and selection given back, nothing
// released twice, no misuse of the host noticed.
void CheckHostAccounting();
// Every hole is either where it was, every segment unchanged, or moved wholly: every segment
// reflected across the one line that carries the old centre onto the new. Elements other than
// holes never change. A moved centre lies on the grid of the move unit (a text such as "0.5")
// around the base point.
void CheckHoleMotion(const std::vector<zethost::Element>& before,
                     const std::vector<zethost::Element>& after, std::optional<Point2> basePoint,
                     std::u16string_view moveUnit);

// A run that ends with its closing message and no error message has corrected every hole it
// gathered (every supported one with a centre now lies on the grid), and the message counts those
// holes, each once. With failures injected into the host, the relocation may pass over holes
// whose record or segments the host refused: the message then counts at most the holes gathered.
void CheckClosingReport(const std::vector<HoleId>& gathered, std::size_t firstMessage,
                        std::optional<Point2> basePoint, std::u16string_view moveUnit,
                        bool bHostFailed);
