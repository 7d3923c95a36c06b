// The whole tarnell run on a large seeded random drawing gives exactly the drawing, report and
// picture it gave when the digests below were taken; any change of a byte shows here.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "random_drawing.h"

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// FNV-1a, 64 bits, as 16 hex digits.
std::string Digest(const std::string& bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char byte : bytes) hash = (hash ^ byte) * 1099511628211ull;
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

struct Case {
  std::uint64_t seed;
  int holes;
  const char* drawing;  // digests of the corrected drawing, the report and the picture
  const char* report;
  const char* picture;
};

const Case kCases[] = {
    {20261208, 6000, "d8f8060a440d8c21", "27b8483289e009da", "5e1f446946602792"},
    {7, 1500, "01122b99c7dd3ed1", "f95ea68e7d259e87", "7302eed02fe0f24a"},
};

TEST(OutputDigestTest, RandomDrawingsGiveTheOutputsTheyAlwaysGave) {
  const fs::path dir = fs::temp_directory_path() / "tarnell-output-digest";
  fs::remove_all(dir);
  fs::create_directories(dir);
  for (const Case& c : kCases) {
    SCOPED_TRACE("seed " + std::to_string(c.seed));
    std::ofstream(dir / "in.drawing", std::ios::binary) << hosttest::RandomDrawing(c.seed, c.holes);
    std::ofstream(dir / "in.session", std::ios::binary) << hosttest::RandomDrawingSession();
    const std::string command = "cd '" + dir.string() + "' && TARNELL_REGISTRY=registry.reg '" +
                                TARNELL_BINARY +
                                "' --session in.session -o out.drawing --report report.txt "
                                "--svg picture.svg in.drawing >transcript.txt 2>&1";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << ReadAll(dir / "transcript.txt");
    EXPECT_EQ(Digest(ReadAll(dir / "out.drawing")), c.drawing);
    EXPECT_EQ(Digest(ReadAll(dir / "report.txt")), c.report);
    EXPECT_EQ(Digest(ReadAll(dir / "picture.svg")), c.picture);
  }
  fs::remove_all(dir);
}

}  // namespace
