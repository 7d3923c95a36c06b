// Sections, blocks and model-space entities of an ASCII DXF file.
#include "host/files/dxf_document.h"

#include <cctype>

namespace zethost {
namespace {

bool Is(const DxfPair& pair, std::int32_t code, std::string_view value) {
  return pair.code == code && DxfTrimmed(pair.value) == value;
}

struct Walk {
  DxfDocument& doc;
  const std::string& fileName;
  std::string& error;
  std::size_t at = 0;

  const std::vector<DxfPair>& pairs() const { return doc.pairs; }
  bool AtEnd() const { return at >= doc.pairs.size(); }

  bool Fail(std::size_t pair, const std::string& problem) {
    const std::uint32_t line =
        pairs().empty() ? 1 : pairs()[std::min(pair, pairs().size() - 1)].line;
    error = fileName + ":" + std::to_string(line) + ": " + problem;
    return false;
  }

  // Moves to the next pair with group code 0.
  void NextEntityStart() {
    ++at;
    while (!AtEnd() && pairs()[at].code != 0) ++at;
  }

  bool NextIs(std::string_view type) const { return !AtEnd() && Is(pairs()[at], 0, type); }

  // One entity from `at`, with the VERTEX / ATTRIB entities and SEQEND it owns.
  DxfEntity ReadEntity() {
    DxfEntity entity{DxfTrimmed(pairs()[at].value), at, at, {}};
    NextEntityStart();
    const std::string_view child = entity.type == "POLYLINE" ? "VERTEX"
                                   : entity.type == "INSERT" ? "ATTRIB"
                                                             : "";
    if (!child.empty() && NextIs(child)) {
      while (NextIs(child)) {
        entity.children.push_back(at);
        NextEntityStart();
      }
      if (NextIs("SEQEND")) {
        entity.children.push_back(at);
        NextEntityStart();
      }
    }
    entity.end = at;
    return entity;
  }

  bool InModelSpace(const DxfEntity& entity) const {
    const DxfPair* space = FindPair(doc, entity, 67);
    return space == nullptr || DxfTrimmed(space->value) != "1";
  }

  void ReadHeader() {
    std::string_view codePage;
    while (!AtEnd() && pairs()[at].code != 0) {
      const DxfPair& pair = pairs()[at];
      if (pair.code == 9 && at + 1 < pairs().size()) {
        const std::string_view name = DxfTrimmed(pair.value);
        if (name == "$ACADVER") doc.acadVersion = DxfTrimmed(pairs()[at + 1].value);
        if (name == "$DWGCODEPAGE") codePage = DxfTrimmed(pairs()[at + 1].value);
      }
      ++at;
    }
    doc.encoding = DxfEncodingOf(doc.acadVersion, codePage);
  }

  void ReadEntities(std::vector<DxfEntity>& into, std::string_view stop) {
    while (!AtEnd() && !NextIs(stop) && !NextIs("ENDSEC") && !NextIs("EOF")) {
      DxfEntity entity = ReadEntity();
      if (InModelSpace(entity)) into.push_back(std::move(entity));
    }
  }

  void ReadBlocks() {
    while (NextIs("BLOCK")) {
      DxfBlock block;
      block.header = at;
      const DxfEntity header = ReadEntity();
      if (const DxfPair* name = FindPair(doc, header, 2)) block.name = DxfTrimmed(name->value);
      ReadEntities(block.entities, "ENDBLK");
      if (NextIs("ENDBLK")) ReadEntity();
      const std::string key = UpperName(block.name);
      if (key == "*MODEL_SPACE" || key == "$MODEL_SPACE") {
        for (DxfEntity& e : block.entities) doc.modelSpace.push_back(std::move(e));
      } else {
        doc.blocks[key] = std::move(block);
      }
    }
  }

  bool ReadSection(bool& sawEntities) {
    const std::size_t opened = at;
    ++at;
    if (AtEnd() || pairs()[at].code != 2) return Fail(opened, "SECTION without a name (group 2)");
    const std::string_view name = DxfTrimmed(pairs()[at].value);
    ++at;
    if (name == "HEADER") ReadHeader();
    if (name == "BLOCKS") ReadBlocks();
    if (name == "ENTITIES") {
      sawEntities = true;
      ReadEntities(doc.modelSpace, "ENDSEC");
    }
    while (!AtEnd() && !NextIs("ENDSEC") && !NextIs("EOF")) ++at;
    if (!NextIs("ENDSEC")) {
      return Fail(at, "section " + std::string(name) + " opened on line " +
                          std::to_string(pairs()[opened].line) + " has no ENDSEC");
    }
    ++at;
    return true;
  }

  bool Run() {
    bool sawEntities = false;
    while (!AtEnd() && !NextIs("EOF")) {
      // Between sections only comments belong; some writers leave header variables and a stray
      // ENDSEC there too, which are passed over as other readers do.
      if (pairs()[at].code != 0 || NextIs("ENDSEC")) {
        ++at;
        continue;
      }
      if (!NextIs("SECTION")) {
        return Fail(at, "expected '0 SECTION' or '0 EOF' here, not group " +
                            std::to_string(pairs()[at].code) + " " +
                            QuotedForMessage(pairs()[at].value));
      }
      if (!ReadSection(sawEntities)) return false;
    }
    if (AtEnd()) return Fail(at, "the file ends without '0 EOF' (truncated)");
    if (!sawEntities) return Fail(at, "no ENTITIES section: the file holds no drawing");
    return true;
  }
};

}  // namespace

std::string UpperName(std::string_view name) {
  std::string upper(name);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

std::size_t OwnEnd(const DxfEntity& entity) {
  return entity.children.empty() ? entity.end : entity.children.front();
}

const DxfPair* FindPair(const DxfDocument& doc, const DxfEntity& entity, std::int32_t code) {
  for (std::size_t k = entity.first + 1; k < OwnEnd(entity); ++k) {
    if (doc.pairs[k].code == code) return &doc.pairs[k];
  }
  return nullptr;
}

bool ReadDxfDocument(std::string_view bytes, const std::string& fileName, DxfDocument& doc,
                     std::string& error) {
  doc = DxfDocument{};
  if (!ReadDxfPairs(bytes, fileName, doc.pairs, error)) return false;
  if (doc.pairs.empty()) {
    error = fileName + ":1: the file is empty";
    return false;
  }
  Walk walk{doc, fileName, error};
  return walk.Run();
}

}  // namespace zethost
