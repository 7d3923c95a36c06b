// The structure of an ASCII DXF file: header variables, block definitions and the entities of
// the model space, each entity a byte range of the file. Nothing is copied out of the file.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "host/files/dxf_pairs.h"
#include "host/files/dxf_text.h"

namespace zethost {

// Where an entity, or one it owns, starts: the byte offset of its "0 TYPE" pair and the number
// of lines before it.
struct DxfPlace {
  std::size_t begin = 0;
  std::uint32_t line = 0;
};

// One entity: the bytes from its "0 TYPE" pair up to the next entity. A POLYLINE or an INSERT
// with attributes owns the VERTEX / ATTRIB entities and the SEQEND after it: they lie in
// [begin, end) too, and the document's `children` from `firstChild` on say where each starts.
struct DxfEntity {
  std::string_view type;
  DxfPlace place;
  std::size_t end = 0;
  std::uint32_t firstChild = 0;
  std::uint32_t childCount = 0;
};

struct DxfBlock {
  std::string_view name;
  DxfEntity header;  // the BLOCK entity
  std::vector<DxfEntity> entities;
};

struct DxfDocument {
  std::string_view bytes;
  char lineEnd = '\n';           // DxfLineEnd of the file
  std::string_view acadVersion;  // $ACADVER, e.g. AC1015
  DxfEncoding encoding = DxfEncoding::kAnsi1252;
  std::vector<DxfEntity> modelSpace;       // drawing order
  std::vector<DxfPlace> children;          // of every entity, in file order
  std::map<std::string, DxfBlock> blocks;  // by name, upper-cased for lookup
  // The TABLES section: each layer's linetype, and whether each linetype is drawn with gaps
  // (names upper-cased).
  std::map<std::string, std::string> layerLinetypes;
  std::map<std::string, bool> linetypeDashed;
  std::int32_t insUnits = -1;     // $INSUNITS, -1 when the file does not say
  std::int32_t measurement = -1;  // $MEASUREMENT: 0 imperial, 1 metric, -1 not said
};

// Reads the file's structure; `bytes` must outlive the document. False with
// "<file>:<line>: <problem>" when a pair cannot be read, a section is not closed, the file has no
// "0 EOF" or there is no ENTITIES section.
bool ReadDxfDocument(std::string_view bytes, const std::string& fileName, DxfDocument& doc,
                     std::string& error);

// Where the entity's k-th owned entity starts.
inline DxfPlace ChildOf(const DxfDocument& doc, const DxfEntity& entity, std::uint32_t k) {
  return doc.children[entity.firstChild + k];
}
// The entity's own pairs (not those of the entities it owns), its "0 TYPE" pair first.
DxfCursor OwnPairs(const DxfDocument& doc, const DxfEntity& entity);
// The first of the entity's own pairs with `code`, after its "0 TYPE" pair.
bool FindPair(const DxfDocument& doc, const DxfEntity& entity, std::int32_t code, DxfPair& pair);
// The entity that starts at `place` and ends where the next one starts.
DxfEntity EntityAt(const DxfDocument& doc, DxfPlace place);

// Upper-case ASCII, as DXF compares layer and block names.
std::string UpperName(std::string_view name);

}  // namespace zethost
