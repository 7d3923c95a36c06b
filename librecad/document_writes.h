// Writing what a correction changed back into LibreCAD's document, each entity once, so that one
// undo of LibreCAD (which wraps the whole command in one undo cycle) takes the command back:
// circles, arcs and lines with updateData (only the numbers that changed), inserts with move(),
// polylines with a new polyline in place of the old one (updatePolylineData would change the old
// one without undo).
#pragma once

#include <QString>
#include <vector>

#include "host/source/open_document.h"
#include "librecad/document_entities.h"

class Document_Interface;

namespace tarnell_librecad {

struct WriteBack {
  int written = 0;
  // Entities the correction moved that the document no longer holds as they were read (the user
  // changed or erased them while the command waited), left as they are, each with why.
  std::vector<QString> skipped;
};

// `read` is what ReadDocumentEntities gave when the command began.
WriteBack WriteChanges(Document_Interface& doc, const DocumentEntities& read,
                       const std::vector<zethost::ChangedEntity>& changes);

}  // namespace tarnell_librecad
