// The floor for reading, parsing and writing a drawing file: one streaming pass in 1 MiB blocks
// that parses every number with std::from_chars and writes it back with std::to_chars, copying
// everything else. No model, no checks: what any reader and writer of the file must at least do.
//     stream_floor IN OUT
#include <charconv>
#include <cstdio>
#include <string>

namespace {

constexpr std::size_t kBlock = std::size_t(1) << 20;

bool StartsNumber(char c) {
  return (c >= '0' && c <= '9') || c == '-';
}

// Copies the whole lines of text[0, size) to out, numbers after '=' or ',' reparsed; returns how
// many bytes it used.
std::size_t Pass(const char* text, std::size_t size, std::string& out) {
  const char* end = text + size;
  while (end > text && end[-1] != '\n') --end;
  const char* p = text;
  char buffer[32];
  while (p < end) {
    const char c = *p;
    out += c;
    ++p;
    if ((c == '=' || c == ',') && p < end && StartsNumber(*p)) {
      double value = 0;
      const auto parsed = std::from_chars(p, end, value);
      if (parsed.ec == std::errc()) {
        out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
        p = parsed.ptr;
      }
    }
  }
  return static_cast<std::size_t>(end - text);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  std::FILE* in = std::fopen(argv[1], "rb");
  std::FILE* out = std::fopen(argv[2], "wb");
  if (in == nullptr || out == nullptr) return 2;
  std::string pending;
  std::string written;
  written.reserve(2 * kBlock);
  for (;;) {
    const std::size_t kept = pending.size();
    pending.resize(kept + kBlock);
    const std::size_t got = std::fread(pending.data() + kept, 1, kBlock, in);
    pending.resize(kept + got);
    if (got == 0) pending += '\n';
    const std::size_t used = Pass(pending.data(), pending.size(), written);
    std::fwrite(written.data(), 1, written.size(), out);
    written.clear();
    pending.erase(0, used);
    if (got == 0) break;
  }
  std::fclose(in);
  return std::fclose(out) == 0 ? 0 : 1;
}
