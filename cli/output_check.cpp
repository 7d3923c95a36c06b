#include "cli/output_check.h"

#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "host/files/atomic_file.h"

namespace {

namespace fs = std::filesystem;

struct Output {
  const char* option;
  const std::string* path;
};

fs::path PathOf(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// The folder a file would be written in ("." for a bare name).
fs::path FolderOf(const fs::path& file) {
  const fs::path parent = file.parent_path();
  return parent.empty() ? fs::path(".") : parent;
}

// Whether a file can be created in the folder: tried with a file of its own, removed at once.
bool FolderIsWritable(const fs::path& file) {
  std::error_code code;
  fs::path probe;
  for (unsigned n = 1; n < 1000; ++n) {
    probe = file;
    probe += ".check-" + std::to_string(n) + ".tmp";
    if (!fs::exists(probe, code) && !code) break;
  }
  bool bWritable = false;
  {
    std::ofstream out(probe, std::ios::binary | std::ios::trunc);
    bWritable = static_cast<bool>(out);
  }
  if (bWritable) fs::remove(probe, code);
  return bWritable;
}

// What keeps the output from being written: it is checked as the file the writer replaces, the
// one its symbolic links lead to, in that file's folder. Standard output ("-") is always there.
std::string FileProblem(const std::string& path, bool bForce) {
  if (zethost::IsStandardStream(path)) return {};
  std::string problem = zethost::SpecialFileProblem(path);
  if (!problem.empty()) return problem;
  std::string target;
  if (!zethost::FollowLinks(path, target, problem)) return problem;
  const fs::path file = PathOf(target);
  std::error_code code;
  if (fs::is_directory(file, code)) return "is a folder";
  const fs::path folder = FolderOf(file);
  if (!fs::exists(folder, code)) return "the folder " + Utf8(folder) + " does not exist";
  if (!fs::is_directory(folder, code)) return Utf8(folder) + " is not a folder";
  if (!FolderIsWritable(file)) return "cannot be written in the folder " + Utf8(folder);
  if (!bForce && fs::exists(file, code) && zethost::FileIsReadOnly(target)) {
    return "is read-only (use --force to replace it)";
  }
  return {};
}

// Whether two paths name the same file; "-" is the same only as "-".
bool SameFile(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  if (zethost::IsStandardStream(a) || zethost::IsStandardStream(b)) return a == b;
  std::error_code code;
  const fs::path first = fs::weakly_canonical(fs::path(a), code);
  if (code) return a == b;
  const fs::path second = fs::weakly_canonical(fs::path(b), code);
  if (code) return a == b;
  return first == second;
}

}  // namespace

bool CheckOutputFiles(const Options& options, std::string& error) {
  const std::vector<Output> outputs = {
      {"-o", &options.output}, {"--svg", &options.picture}, {"--report", &options.report}};
  for (std::size_t k = 0; k < outputs.size(); ++k) {
    const std::string& path = *outputs[k].path;
    if (path.empty()) continue;
    std::string problem = FileProblem(path, options.force);
    for (std::size_t j = 0; j < k && problem.empty(); ++j) {
      if (SameFile(path, *outputs[j].path)) {
        problem = std::string("given for both ") + outputs[j].option + " and " + outputs[k].option;
      }
    }
    // Standard output is never an input the run reads, even when the drawing is standard input.
    const bool bFile = !zethost::IsStandardStream(path);
    if (problem.empty() && bFile && SameFile(path, options.session)) {
      problem = "is the session file";
    }
    if (problem.empty() && bFile && k > 0 && SameFile(path, options.drawing)) {
      problem = "is the drawing";
    }
    if (problem.empty()) continue;
    error = path + ": " + problem + "; nothing was run and no file was written";
    return false;
  }
  return true;
}
