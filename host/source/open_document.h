// The host's drawing taken from a CAD program's open document instead of a file. The front end
// gives the document's entities as plain geometry, each with a key of its own (the document's
// entity id); the host recognises holes in them as it does in a DXF file, remembers for every
// segment the entity (and polyline piece) it is drawn from and whether it moves with its hole's
// centre or is reflected, and after a correction says which entities changed and how, so that the
// front end writes exactly those back into its document, each once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "host/recognition/source_drawing.h"

namespace zethost {

// Where a segment of the host's drawing comes from.
struct SegmentOrigin {
  std::uint32_t entity = 0;  // its entity's place in the SourceDrawing given
  std::uint32_t piece = 0;   // kWholeEntity, or the polyline piece it is
  bool rigid = false;        // it moves with its hole's centre without turning
  Point2 anchor{0, 0};       // that centre (for a rigid segment), where it now stands
};

// An entity of the document as a correction left it: its key, its place in the SourceDrawing
// given, and its numbers now (`now.p`, `now.q`, the angles; a polyline's vertices with their
// bulges, all of them). Numbers the correction moved are clean (clean_number.h); the others are
// as given.
struct ChangedEntity {
  std::uint64_t key = 0;
  std::uint32_t entity = 0;
  SourceEntity now;
  std::vector<SourceVertex> vertices;
};

// Makes the entities the host's drawing, whole, recognised as a DXF file's entities are; keys[k]
// is the key of drawing.entities[k]. A DXF file the host's drawing came from before is forgotten.
void LoadOpenDocument(SourceDrawing drawing, std::vector<std::uint64_t> keys);

// What reading the document again found.
struct Reread {
  bool changed = false;       // the entities differ from those the host's drawing was made from
  std::size_t holesGone = 0;  // holes of the drawing before that the document no longer holds
  std::size_t holesNew = 0;   // holes it holds now that the drawing before did not
};

// The document as it stands now, while the command runs (the user may have changed it with other
// commands while the command waited): when its entities differ from those the host's drawing
// was made from, the drawing is made again from them. A hole drawn by exactly the same entities
// (same keys, same numbers) as before keeps its hole id, so the ids the command holds stay
// good; the ids of holes that changed or went are never given again, and the host answers no
// question about them. What blinks stays blinking where its hole stays. Call it between events,
// before any segment is mirrored; for another drawing it loads the document as
// LoadOpenDocument does.
Reread RereadOpenDocument(SourceDrawing drawing, std::vector<std::uint64_t> keys);

// True while the host's drawing is the one LoadOpenDocument made: loading another drawing,
// adding elements or resetting the host ends it.
bool DrawingIsOpenDocument();

// The origin of a segment of that drawing; null for an unknown segment or another drawing.
const SegmentOrigin* OriginOf(std::int32_t segmentId);

// For a rigid segment: the shift that a reflection across the line through a and b gives its
// hole's centre. nullopt for a segment that is reflected, or of another drawing.
std::optional<Point2> OpenDocumentRigidShift(std::int32_t segmentId, Point2 a, Point2 b);
// The segment was reflected across the line through a and b, or moved by `shift`: the numbers
// it owns in its entity follow, and a rigid segment's anchor moves on with it.
void OpenDocumentSegmentMoved(std::int32_t segmentId, Point2 a, Point2 b,
                              std::optional<Point2> shift);

// The entities whose numbers differ from those given to LoadOpenDocument, each once, in the
// order given; empty for another drawing.
std::vector<ChangedEntity> ChangedEntities();

}  // namespace zethost
