// Sections, blocks and model-space entities of an ASCII DXF file.
#include "host/files/dxf_document.h"

#include <algorithm>

#include "host/drawing/table_memory.h"

namespace zethost {
namespace {

// One checked walk over the whole file with the pair at hand in `cur`.
struct Walk {
  DxfDocument& doc;
  const std::string& fileName;
  std::string& error;
  DxfCursor cursor;
  DxfPair cur;
  DxfPlace curPlace;
  bool have = false;
  bool failed = false;

  void Advance() {
    curPlace = DxfPlace{cursor.pos, cursor.line};
    have = NextCheckedDxfPair(cursor, cur, fileName, error);
    failed = failed || !error.empty();
  }

  bool NextIs(std::string_view type) const {
    return have && cur.code == 0 && DxfTrimmed(cur.value) == type;
  }

  bool Fail(const std::string& problem) {
    const std::uint32_t line = have ? cur.line : std::max<std::uint32_t>(cursor.line, 1);
    error = fileName + ":" + std::to_string(line) + ": " + problem;
    failed = true;
    return false;
  }

  // Moves to the next "0" pair; true when the pairs passed hold a "67 1" (paper space) as the
  // first group 67.
  bool NextEntityStart() {
    bool seen = false;
    bool paper = false;
    do {
      Advance();
      if (have && cur.code == 67 && !seen) {
        seen = true;
        paper = DxfTrimmed(cur.value) == "1";
      }
    } while (have && cur.code != 0);
    return paper;
  }

  void AddChild(DxfEntity& entity) {
    doc.children.push_back(curPlace);
    ++entity.childCount;
    NextEntityStart();
  }

  // One entity from the pair at hand, with the VERTEX / ATTRIB entities and SEQEND it owns;
  // `paper` tells whether it lies in the paper space.
  DxfEntity ReadEntity(bool& paper) {
    DxfEntity entity{DxfTrimmed(cur.value), curPlace, 0, 0, 0};
    entity.firstChild = static_cast<std::uint32_t>(doc.children.size());
    paper = NextEntityStart();
    const std::string_view child = entity.type == "POLYLINE" ? "VERTEX"
                                   : entity.type == "INSERT" ? "ATTRIB"
                                                             : "";
    if (!child.empty() && NextIs(child)) {
      while (NextIs(child)) AddChild(entity);
      if (NextIs("SEQEND")) AddChild(entity);
    }
    entity.end = curPlace.begin;
    return entity;
  }
  DxfEntity ReadEntity() {
    bool paper = false;
    return ReadEntity(paper);
  }

  void ReadHeader() {
    std::string_view codePage;
    std::string_view variable;
    while (have && cur.code != 0) {
      if (cur.code == 9) {
        variable = DxfTrimmed(cur.value);
      } else if (variable == "$ACADVER") {
        doc.acadVersion = DxfTrimmed(cur.value);
      } else if (variable == "$DWGCODEPAGE") {
        codePage = DxfTrimmed(cur.value);
      } else if (variable == "$INSUNITS" && cur.code == 70) {
        doc.insUnits = IntegerOf(cur.value);
      } else if (variable == "$MEASUREMENT" && cur.code == 70) {
        doc.measurement = IntegerOf(cur.value);
      }
      Advance();
    }
    doc.encoding = DxfEncodingOf(doc.acadVersion, codePage);
  }

  static std::int32_t IntegerOf(std::string_view value) {
    std::int64_t number = -1;
    return DxfInteger(value, number) ? static_cast<std::int32_t>(number) : -1;
  }

  // LAYER entries (name 2, linetype 6) and LTYPE entries (name 2, dash count 73).
  void ReadTables() {
    std::string_view entry;
    std::string name;
    std::string linetype;
    bool dashed = false;
    const auto finish = [&] {
      if (entry == "LAYER" && !name.empty()) doc.layerLinetypes[name] = linetype;
      if (entry == "LTYPE" && !name.empty()) doc.linetypeDashed[name] = dashed;
    };
    while (have && !NextIs("ENDSEC") && !NextIs("EOF")) {
      if (cur.code == 0) {
        finish();
        entry = DxfTrimmed(cur.value);
        name.clear();
        linetype.clear();
        dashed = false;
      } else if (cur.code == 2 && (entry == "LAYER" || entry == "LTYPE")) {
        name = UpperName(DxfTrimmed(cur.value));
      } else if (cur.code == 6 && entry == "LAYER") {
        linetype = UpperName(DxfTrimmed(cur.value));
      } else if (cur.code == 73 && entry == "LTYPE") {
        dashed = IntegerOf(cur.value) > 0;
      }
      Advance();
    }
    finish();
  }

  void ReadEntities(std::vector<DxfEntity>& into, std::string_view stop) {
    while (have && !NextIs(stop) && !NextIs("ENDSEC") && !NextIs("EOF")) {
      if (cur.code != 0) {  // pairs before the first entity
        Advance();
        continue;
      }
      bool paper = false;
      const DxfEntity entity = ReadEntity(paper);
      if (!paper) into.push_back(entity);
    }
  }

  void ReadBlocks() {
    while (NextIs("BLOCK")) {
      DxfBlock block;
      block.header = ReadEntity();
      DxfPair name;
      if (FindPair(doc, block.header, 2, name)) block.name = DxfTrimmed(name.value);
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
    const std::uint32_t opened = cur.line;
    Advance();
    if (!have || cur.code != 2) return failed ? false : Fail("SECTION without a name (group 2)");
    const std::string_view name = DxfTrimmed(cur.value);
    Advance();
    if (name == "HEADER") ReadHeader();
    if (name == "BLOCKS") ReadBlocks();
    if (name == "TABLES") ReadTables();
    if (name == "ENTITIES") {
      sawEntities = true;
      ReadEntities(doc.modelSpace, "ENDSEC");
    }
    while (have && !NextIs("ENDSEC") && !NextIs("EOF")) Advance();
    if (failed) return false;
    if (!have) {
      return Fail("the file ends inside section " + std::string(name) + " opened on line " +
                  std::to_string(opened) + ": it is truncated");
    }
    if (!NextIs("ENDSEC")) {
      return Fail("section " + std::string(name) + " opened on line " + std::to_string(opened) +
                  " has no ENDSEC");
    }
    Advance();
    return !failed;
  }

  bool Run() {
    bool sawEntities = false;
    Advance();
    if (!have && !failed) return Fail("the file is empty");
    while (have && !NextIs("EOF")) {
      // Between sections only comments belong; some writers leave header variables and a stray
      // ENDSEC there too, which are passed over as other readers do.
      if (!NextIs("SECTION")) {
        Advance();
        continue;
      }
      if (!ReadSection(sawEntities)) return false;
    }
    if (failed) return false;
    if (!have) return Fail("the file ends without '0 EOF' (truncated)");
    if (!sawEntities) return Fail("no ENTITIES section: the file holds no drawing");
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

DxfCursor OwnPairs(const DxfDocument& doc, const DxfEntity& entity) {
  const std::size_t end = entity.childCount == 0 ? entity.end : ChildOf(doc, entity, 0).begin;
  return DxfCursor{doc.bytes, entity.place.begin, end, entity.place.line, doc.lineEnd};
}

bool FindPair(const DxfDocument& doc, const DxfEntity& entity, std::int32_t code, DxfPair& pair) {
  DxfCursor cursor = OwnPairs(doc, entity);
  if (!NextDxfPair(cursor, pair)) return false;  // the "0 TYPE" pair
  while (NextDxfPair(cursor, pair)) {
    if (pair.code == code) return true;
  }
  return false;
}

DxfEntity EntityAt(const DxfDocument& doc, DxfPlace place) {
  DxfCursor cursor{doc.bytes, place.begin, doc.bytes.size(), place.line, doc.lineEnd};
  DxfPair pair;
  DxfEntity entity;
  entity.place = place;
  if (NextDxfPair(cursor, pair)) entity.type = DxfTrimmed(pair.value);
  std::size_t before = cursor.pos;
  while (NextDxfPair(cursor, pair) && pair.code != 0) before = cursor.pos;
  entity.end = cursor.pos >= doc.bytes.size() && pair.code != 0 ? cursor.pos : before;
  return entity;
}

bool ReadDxfDocument(std::string_view bytes, const std::string& fileName, DxfDocument& doc,
                     std::string& error) {
  doc = DxfDocument{};
  doc.bytes = bytes;
  doc.lineEnd = DxfLineEnd(bytes);
  // Room made at once for as many entities as a file of small ones holds (a circle takes about
  // 100 bytes); the table grows past it only for files of still smaller entities.
  ReserveLarge(doc.modelSpace, bytes.size() / 64 + 16);
  // A UTF-8 byte order mark before the first pair is passed over (and kept: it is written back
  // with every other byte the correction does not change).
  const std::size_t start = bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
  Walk walk{doc, fileName, error, DxfCursor{bytes, start, bytes.size(), 0, doc.lineEnd}, {}, {}};
  return walk.Run();
}

}  // namespace zethost
