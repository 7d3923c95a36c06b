// The structure of an ASCII DXF file over its pairs: header variables, block definitions and the
// entities of the model space, each entity a range of pairs. Nothing is copied out of the file.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "host/files/dxf_pairs.h"
#include "host/files/dxf_text.h"

namespace zethost {

// One entity: pairs [first, end) of the file, from its "0 TYPE" pair up to the next entity. A
// POLYLINE or an INSERT with attributes owns the VERTEX / ATTRIB entities and the SEQEND after
// it: their pairs lie in [first, end) too, and `children` lists where each one starts.
struct DxfEntity {
  std::string_view type;
  std::size_t first = 0;
  std::size_t end = 0;
  std::vector<std::size_t> children;
};

struct DxfBlock {
  std::string_view name;
  std::size_t header = 0;  // the pair index of the BLOCK entity
  std::vector<DxfEntity> entities;
};

struct DxfDocument {
  std::vector<DxfPair> pairs;
  std::string_view acadVersion;  // $ACADVER, e.g. AC1015
  DxfEncoding encoding = DxfEncoding::kAnsi1252;
  std::vector<DxfEntity> modelSpace;       // drawing order
  std::map<std::string, DxfBlock> blocks;  // by name, upper-cased for lookup
};

// Reads the file's structure. False with "<file>:<line>: <problem>" when the pairs cannot be
// read, a section is not closed, or there is no ENTITIES section.
bool ReadDxfDocument(std::string_view bytes, const std::string& fileName, DxfDocument& doc,
                     std::string& error);

// The value of the first pair with `code` among the entity's own pairs (not its children's);
// null when there is none.
const DxfPair* FindPair(const DxfDocument& doc, const DxfEntity& entity, std::int32_t code);
// The entity's own pairs end where its first child starts.
std::size_t OwnEnd(const DxfEntity& entity);

// Upper-case ASCII, as DXF compares layer and block names.
std::string UpperName(std::string_view name);

}  // namespace zethost
