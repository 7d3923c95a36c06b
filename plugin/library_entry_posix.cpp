// Where the library is loaded without a Windows loader, the application object is initialised
// when the module's static objects are constructed. Resources are built into the code, so the
// module handle stays null.
#include "plugin/tarnell_app.h"

namespace {
struct LibraryEntry {
  LibraryEntry() { TheTarnellApp().InitInstance(); }
};
const LibraryEntry g_libraryEntry;
}  // namespace
