#include "librecad/command_run.h"

#include <optional>
#include <vector>

#include "document_interface.h"
#include "host/files/number_text.h"
#include "host/source/open_document.h"
#include "host/stand_in.h"
#include "librecad/document_entities.h"
#include "librecad/document_writes.h"

namespace tarnell_librecad {
namespace {

QString Text(const std::u16string& text) {
  return QString::fromStdU16String(text);
}

// The document as the command last read it, and what reading it again needs.
struct DocumentRead {
  Document_Interface& doc;
  LayerLinetypes linetypes;
  DocumentEntities entities;
};

// The document's visible entities (getAllEntities with true leaves out erased ones and those of
// hidden layers).
DocumentEntities ReadEntities(Document_Interface& doc, const LayerLinetypes& linetypes,
                              std::vector<QString> layers = {}) {
  QList<Plug_Entity*> all;
  doc.getAllEntities(&all, true);
  DocumentEntities read = ReadDocumentEntities(all, linetypes, std::move(layers));
  qDeleteAll(all);
  return read;
}

// The document becomes the host's drawing; what was read is kept for the writing back.
DocumentRead LoadDocument(Document_Interface& doc) {
  DocumentRead read{doc, ReadLayerLinetypes(doc), {}};
  read.entities = ReadEntities(doc, read.linetypes);
  zethost::LoadOpenDocument(read.entities.drawing, read.entities.ids);
  return read;
}

QString RereadNote(const zethost::Reread& reread) {
  QString note =
      QStringLiteral("  (the drawing was changed while the command waited and is read again");
  if (reread.holesGone > 0) {
    note += QStringLiteral("; %1 hole(s) changed or erased since are no longer taken")
                .arg(reread.holesGone);
  }
  if (reread.holesNew > 0) note += QStringLiteral("; %1 new hole(s)").arg(reread.holesNew);
  return note + QStringLiteral(")");
}

// Before an answer reaches the host: the user may have changed the document with other commands
// while the command waited, so it is read again, and the host's drawing made again when it
// differs.
void ReadAgain(DocumentRead& read, const FrontEnd& frontEnd) {
  DocumentEntities now = ReadEntities(read.doc, read.linetypes, read.entities.layers);
  const zethost::Reread reread = zethost::RereadOpenDocument(now.drawing, now.ids);
  if (!reread.changed) return;
  read.entities = std::move(now);
  frontEnd.note(RereadNote(reread));
}

// The first corner of the range the step is taking, if any: the anchor of the rubber band of
// the steps that ask for a second corner, or the first corner of a window selection.
std::optional<QPointF> RangeStart() {
  if (const std::optional<EchoRecord> echo = zethost::CurrentEcho()) {
    return QPointF(echo->ptAnchor.x, echo->ptAnchor.y);
  }
  if (const std::optional<Point2> corner = zethost::PendingCorner()) {
    return QPointF(corner->x, corner->y);
  }
  return std::nullopt;
}

// The geometry of the segments the host blinks now.
std::vector<zethost::Geometry> BlinkingGeometry() {
  std::vector<zethost::Geometry> shapes;
  for (const ElementRef& ref : zethost::BlinkingSegments()) {
    if (const zethost::Segment* segment = zethost::FindSegment(ref.nSegmentId)) {
      shapes.push_back(segment->geometry);
    }
  }
  return shapes;
}

QString Typed(const PointInput& input) {
  if (input.answer == PointAnswer::kConfirm) return QStringLiteral("(Enter)");
  if (input.answer == PointAnswer::kCancel) return QStringLiteral("(cancelled)");
  return QString::fromStdString(zethost::ShortestNumber(input.point.x()) + "," +
                                zethost::ShortestNumber(input.point.y()));
}

// Shows the host's messages as they come: error messages and the cursor text in the command
// history; message boxes are kept for the end of the run.
void ListenToMessages(const FrontEnd& frontEnd, std::vector<QString>& boxes) {
  zethost::ClearMessages();
  zethost::SetMessageListener([&frontEnd, &boxes](const zethost::Message& message) {
    switch (message.kind) {
      case zethost::MessageKind::Error:
        frontEnd.note(QStringLiteral("! ") + Text(message.text));
        break;
      case zethost::MessageKind::Cursor:
        frontEnd.note(QStringLiteral("[") + Text(message.text) + QStringLiteral("]"));
        break;
      case zethost::MessageKind::Box:
        boxes.push_back(Text(message.text));
        break;
      case zethost::MessageKind::Prompt:
        break;  // shown by the next point prompt
    }
  });
}

// The input for the host. Where a step takes both points and picks (the review of gathered
// holes), a click on an element picks it and a click elsewhere is a point, as the CAD host
// tells them apart; otherwise the host's own rules make the click what the step asks.
zethost::InputResult Deliver(const PointInput& input) {
  if (input.answer == PointAnswer::kConfirm) return zethost::Confirm();
  const Point2 p{input.point.x(), input.point.y()};
  const std::int32_t mask = zethost::EventMask();
  if ((mask & MASK_POINT) != 0 && (mask & MASK_ELEMENT) != 0 && zethost::PickAt(p)) {
    return zethost::Pick(p);
  }
  return zethost::Click(p);
}

// Asks until the command has finished; false when the user cancelled it.
bool Converse(const FrontEnd& frontEnd, DocumentRead& read) {
  while (zethost::CommandRunning()) {
    const QString prompt = Text(zethost::PromptText());
    const std::optional<QPointF> from = RangeStart();
    if (frontEnd.showBlinking) frontEnd.showBlinking(BlinkingGeometry());
    const PointInput input = frontEnd.askPoint(prompt, from ? &*from : nullptr);
    frontEnd.note(prompt + Typed(input));
    if (input.answer == PointAnswer::kCancel) return false;
    ReadAgain(read, frontEnd);
    const zethost::InputResult result = Deliver(input);
    if (!result.note.empty()) frontEnd.note(QStringLiteral("  (%1)").arg(result.note.c_str()));
  }
  return true;
}

}  // namespace

RunResult RunCommand(Document_Interface& doc, const FrontEnd& frontEnd) {
  DocumentRead read = LoadDocument(doc);
  std::vector<QString> boxes;
  ListenToMessages(frontEnd, boxes);
  zethost::StartCommand();
  RunResult result;
  result.cancelled = !Converse(frontEnd, read);
  zethost::SetMessageListener(nullptr);
  const auto progress = [&frontEnd](const QString& what) {
    if (frontEnd.progress) frontEnd.progress(what);
  };
  if (!result.cancelled) {
    progress(QStringLiteral("corrected in the host"));
    if (frontEnd.writing) frontEnd.writing(true);
    const WriteBack written = WriteChanges(doc, read.entities, zethost::ChangedEntities());
    if (frontEnd.writing) frontEnd.writing(false);
    progress(QStringLiteral("written into the document: %1 entities").arg(written.written));
    for (const QString& skipped : written.skipped) frontEnd.note(QStringLiteral("! ") + skipped);
    result.written = written.written;
    if (written.written > 0) doc.updateView();
    progress(QStringLiteral("view updated"));
  }
  for (const QString& box : boxes) frontEnd.messageBox(box);
  return result;
}

}  // namespace tarnell_librecad
