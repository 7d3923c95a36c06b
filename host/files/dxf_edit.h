// Editing a DXF drawing in place: reflecting the numbers a segment owns, and writing the file
// back with only the numbers that changed replaced.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/files/dxf_entities.h"

namespace zethost {

// Reflects the segment's values across the line through a and b (drawing coordinates, a != b):
// points are reflected, bulges change sign, and an arc's angles are reflected and swapped, as a
// reflected arc runs the other way round and DXF arcs always run counter-clockwise. Every new
// number is written clean (clean_number.h).
void MirrorDxfValues(const DxfOwnedValues& owned, Point2 a, Point2 b,
                     std::vector<DxfValue>& values);
// Moves the segment's points by `shift` (drawing coordinates); bulges and angles stay.
void ShiftDxfValues(const DxfOwnedValues& owned, Point2 shift, std::vector<DxfValue>& values);

// The file's bytes with every value that differs from what the file holds replaced by the
// shortest decimal text that reads back to it; every other byte as it was.
std::string PatchedDxf(std::string_view bytes, const std::vector<DxfValue>& values);

// The same, made piece by piece for writing a large file in blocks; `values` must outlive it.
struct DxfPatch {
  DxfPatch(std::string_view file, const std::vector<DxfValue>& values);
  // Appends about `size` bytes more to piece; false when the whole file has been given.
  bool Next(std::string& piece, std::size_t size);

 private:
  std::string_view bytes;
  const std::vector<DxfValue>& values;
  std::vector<std::uint32_t> changes;  // the values that changed, by offset
  std::size_t copied = 0;              // bytes of the file given so far
  std::size_t next = 0;                // the first change not yet given
};

}  // namespace zethost
