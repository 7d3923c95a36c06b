// Which kinds of hole the batch's selection options choose.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/hole_kinds.h"
#include "cli/options.h"

// Whether a layer name meets a CAD layer filter: '*' any text, '?' any character, '#' a digit,
// '@' a letter, '.' a character that is neither, '[...]' one of (a '~' first: none of; a-z
// ranges), '`' takes the next character as it is, a leading '~' negates the whole filter, and
// ',' separates filters of which one must match. Letters compare without case, as CAD layer names.
bool LayerMatches(std::string_view filter, std::string_view layer);

// Whether a diameter lies in the range within the command's tolerance (a millionth).
bool DiameterMatches(const DiameterRange& range, double diameter);

// The kinds the options choose, in kind order: --all every kind; otherwise the kinds of the holes
// at the --like points, and the kinds that meet every one of --kind, --layer and --diameter
// given. False with the problem when a --like point has no hole or a --kind number is not one of
// the drawing's.
bool ChooseKinds(const Options& options, const std::vector<HoleKind>& kinds,
                 const std::vector<int>& kindOf, std::vector<const HoleKind*>& chosen,
                 std::string& error);
