// One run of the command on LibreCAD's open document: the document's entities become the host's
// drawing, the registered command starts, every point the user gives becomes a click of the
// host (whose own rules then make it a point, a pick or a window corner, as the step asks),
// Enter or a right-click a confirmation; at the end what moved is written back into the document.
#pragma once

#include <QPointF>
#include <QString>
#include <functional>
#include <vector>

#include "host/stand_in.h"

class Document_Interface;

namespace tarnell_librecad {

enum class PointAnswer { kPoint, kConfirm, kCancel };

// What the user did at a prompt: gave a point, confirmed (Enter, right-click) or cancelled
// (Escape, another tool, the drawing closed).
struct PointInput {
  PointAnswer answer = PointAnswer::kCancel;
  QPointF point;
};

// LibreCAD's side of a run.
struct FrontEnd {
  // Asks for a point with the prompt; `from` is the first corner of a range being indicated
  // (for a rubber band), or null.
  std::function<PointInput(const QString& prompt, const QPointF* from)> askPoint;
  // Before each prompt: the segments the waiting step shows blinking (the holes gathered so
  // far), in drawing coordinates; empty when it shows none. Optional.
  std::function<void(std::vector<zethost::Geometry> blinking)> showBlinking;
  // A line of LibreCAD's command history: the prompts answered, the host's notes, error
  // messages.
  std::function<void(const QString& line)> note;
  // What the run has done so far, for a log (the host's correction over, the document written,
  // the view redrawn). Optional.
  std::function<void(const QString& what)> progress;
  // Called with true before the corrected entities are written into the document and with
  // false after. Optional.
  std::function<void(bool writing)> writing;
  // A message box, shown once the corrected entities are in the document.
  std::function<void(const QString& text)> messageBox;
};

struct RunResult {
  bool cancelled = false;  // nothing was written
  int written = 0;         // entities changed in the document
};

// Runs the command once. The plug-in must have registered it (Startup).
RunResult RunCommand(Document_Interface& doc, const FrontEnd& frontEnd);

}  // namespace tarnell_librecad
