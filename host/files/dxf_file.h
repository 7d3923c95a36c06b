// The host's drawing read from a DXF file: the file's bytes and structure are kept, mirrored
// segments change the numbers they own, and saving writes the file back with only those numbers
// replaced.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "plugin/zetlib.h"

namespace zethost {

// Makes the DXF file's drawing the host's, whole; on failure ("file:line: problem" in error) the
// host's drawing is as it was.
bool LoadDxfDrawing(std::string bytes, const std::string& fileName, std::string& error);
// True while the host's drawing is the one a DXF file gave.
bool DrawingIsDxf();
// Forgets the DXF file (the drawing is replaced or emptied).
void ForgetDxf();
// For a segment that moves with its hole's centre without turning (a centre mark, a thread arc,
// an insert with its attributes): the shift that a reflection across the line through a and b
// gives that centre. nullopt for a segment that is reflected.
std::optional<Point2> DxfRigidShift(std::int32_t segmentId, Point2 a, Point2 b);
// The segment was reflected across the line through a and b, or moved by `shift`: its numbers
// in the file follow.
void DxfSegmentMoved(std::int32_t segmentId, Point2 a, Point2 b, std::optional<Point2> shift);
// The file as it now stands: its bytes with every number a mirrored segment changed replaced.
std::string DxfText();
// Writes that text to `path`, whole or not at all, in blocks.
bool SaveDxfDrawing(const std::string& path, std::string& error);

// The message for a file that is a drawing but not one the host reads, or empty.
std::string UnsupportedDrawingMessage(std::string_view head, const std::string& fileName);

}  // namespace zethost
