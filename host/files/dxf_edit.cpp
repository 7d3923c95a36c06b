// Mirroring DXF values and writing the edited file.
#include "host/files/dxf_edit.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "host/drawing/clean_number.h"
#include "host/drawing/geometry.h"
#include "host/drawing/table_memory.h"

namespace zethost {
namespace {

// The shortest decimal text that reads back to the same double.
void AppendShortestNumber(std::string& out, double value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  out.append(text, result.ec == std::errc() ? result.ptr : text);
}

Point2 InOcs(bool flip, Point2 p) {
  return Point2{flip ? -p.x : p.x, p.y};
}

}  // namespace

void MirrorDxfValues(const DxfOwnedValues& owned, Point2 a, Point2 b,
                     std::vector<DxfValue>& values) {
  // Negating X is an isometry, so reflecting in the OCS across the line's OCS image is the same
  // as reflecting in the drawing.
  const Point2 oa = InOcs(owned.flip, a);
  const Point2 ob = InOcs(owned.flip, b);
  DxfValue* v = values.data() + owned.first;
  for (std::uint32_t k = 0; k < owned.points; ++k, v += 2) {
    const Point2 r = CleanPoint(Reflect(Point2{v[0].value, v[1].value}, oa, ob));
    v[0].value = r.x;
    v[1].value = r.y;
  }
  DxfValue* bulge = values.data() + owned.firstBulge;
  for (std::uint32_t k = 0; k < owned.bulges; ++k, ++bulge) bulge->value = -bulge->value;
  if (!owned.hasAngles) return;
  ReflectArcAngles(oa, ob, v[0].value, v[1].value);
}

void ShiftDxfValues(const DxfOwnedValues& owned, Point2 shift, std::vector<DxfValue>& values) {
  const Point2 s = InOcs(owned.flip, shift);
  DxfValue* v = values.data() + owned.first;
  for (std::uint32_t k = 0; k < owned.points; ++k, v += 2) {
    const Point2 moved = CleanPoint(Point2{v[0].value + s.x, v[1].value + s.y});
    v[0].value = moved.x;
    v[1].value = moved.y;
  }
}

DxfPatch::DxfPatch(std::string_view file, const std::vector<DxfValue>& all)
    : bytes(file), values(all) {
  ReserveLarge(changes, values.size());
  for (std::uint32_t k = 0; k < values.size(); ++k) {
    const DxfValue& v = values[k];
    double held = 0;
    if (v.offset == kNoPair || !DxfNumber(bytes.substr(v.offset, v.length), held) ||
        held == v.value) {
      continue;
    }
    changes.push_back(k);
  }
  // Values are mostly owned in file order already.
  const auto byOffset = [&](std::uint32_t x, std::uint32_t y) {
    return values[x].offset < values[y].offset;
  };
  if (!std::is_sorted(changes.begin(), changes.end(), byOffset)) {
    std::stable_sort(changes.begin(), changes.end(), byOffset);
  }
}

bool DxfPatch::Next(std::string& piece, std::size_t size) {
  if (copied >= bytes.size() && next >= changes.size()) return false;
  const std::size_t limit = piece.size() + size;
  while (piece.size() < limit && (copied < bytes.size() || next < changes.size())) {
    const DxfValue* c = next < changes.size() ? &values[changes[next]] : nullptr;
    if (c != nullptr && c->offset < copied) {
      ++next;  // a value owned twice is written once
    } else if (c != nullptr && c->offset - copied <= size) {
      ++next;
      piece.append(bytes.substr(copied, c->offset - copied));
      AppendShortestNumber(piece, c->value);
      copied = c->offset + c->length;
    } else {
      const std::size_t run = std::min(size, bytes.size() - copied);
      piece.append(bytes.substr(copied, run));
      copied += run;
    }
  }
  return true;
}

std::string PatchedDxf(std::string_view bytes, const std::vector<DxfValue>& values) {
  DxfPatch patch(bytes, values);
  std::string out;
  out.reserve(bytes.size() + 64);
  while (patch.Next(out, bytes.size() + 64)) {
  }
  return out;
}

}  // namespace zethost
