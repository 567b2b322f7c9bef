// datapack: lays out the data files of the program folder. The sources are
// kept as UTF-8 with LF line ends so that they stay editable; the program
// reads Windows-1251 with CR LF, so every file is converted on the way.
//
//   datapack SOURCE_ROOT TARGET_ROOT [--refresh | --keep] RELATIVE_PATH...
//
// Each path names a file under SOURCE_ROOT and the same place under
// TARGET_ROOT. Paths after --refresh (the default) are rewritten whenever the
// target's bytes differ from the conversion; paths after --keep are written
// only when the target does not exist yet, since workspace and settings files
// hold the builder's own work.
//
// Every source is converted before anything is written. A character that
// Windows-1251 cannot hold, invalid UTF-8, a control character other than the
// tab, or a CR in a source stops the tool with status 1 and a message naming
// the file, line and column; so does a failed write.

#include "codepage.h"
#include "worldfile.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct TJob {
    std::string Relative;
    bool Keep = false;
    TStringList Lines; // Windows-1251, without line ends
};

std::optional<std::string> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return bytes.str();
}

// Length of the UTF-8 sequence that starts with `lead` (1 for a stray byte,
// which the conversion then rejects on its own).
size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

// A byte of the converted text that must not stand in a data file: control
// characters other than the tab, DEL and 0x98 (unassigned in Windows-1251).
bool IsForbiddenByte(unsigned char byte) {
    return (byte < 0x20 && byte != '\t') || byte == 0x7F || byte == 0x98;
}

// Converts one line; on failure returns the 1-based column (in characters) of
// the first character that cannot be stored.
std::optional<size_t> ConvertLine(std::string_view utf8, std::string& out) {
    int substituted = 0;
    out = Utf8ToCp1251(utf8, &substituted);
    bool clean = substituted == 0;
    for (const char ch : out)
        clean = clean && !IsForbiddenByte(static_cast<unsigned char>(ch));
    if (clean)
        return std::nullopt;
    size_t column = 1;
    for (size_t i = 0; i < utf8.size(); ++column) {
        const size_t length =
            std::min(SequenceLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
        int lost = 0;
        const std::string one = Utf8ToCp1251(utf8.substr(i, length), &lost);
        if (lost != 0 || one.size() != 1 || IsForbiddenByte(static_cast<unsigned char>(one[0])))
            return column;
        i += length;
    }
    return column;
}

bool Convert(const fs::path& source, TJob& job) {
    const auto bytes = ReadFile(source);
    if (!bytes) {
        std::fprintf(stderr, "datapack: cannot read %s\n", source.c_str());
        return false;
    }
    std::string_view rest(*bytes);
    size_t lineNumber = 0;
    while (!rest.empty()) {
        ++lineNumber;
        const size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (line.find('\r') != std::string_view::npos) {
            std::fprintf(stderr, "%s:%zu: a CR in the source: data sources use LF line ends only\n",
                         source.c_str(), lineNumber);
            return false;
        }
        std::string converted;
        if (const auto column = ConvertLine(line, converted)) {
            std::fprintf(stderr,
                         "%s:%zu:%zu: a character that cannot be represented in Windows-1251\n",
                         source.c_str(), lineNumber, *column);
            return false;
        }
        job.Lines.push_back(std::move(converted));
    }
    return true;
}

bool Write(const fs::path& target, const TJob& job) {
    std::error_code error;
    if (job.Keep && fs::exists(target, error))
        return true;
    if (!job.Keep) {
        const auto existing = ReadFile(target);
        if (existing && *existing == FileBytes(job.Lines, kCrLf)) // what SaveLinesToFile writes
            return true;
    }
    fs::create_directories(target.parent_path(), error);
    if (error || !SaveLinesToFile(target.string(), job.Lines)) {
        std::fprintf(stderr, "datapack: cannot write %s\n", target.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: datapack SOURCE_ROOT TARGET_ROOT [--refresh | --keep] "
                             "RELATIVE_PATH...\n");
        return 2;
    }
    const fs::path sourceRoot(argv[1]);
    const fs::path targetRoot(argv[2]);

    std::vector<TJob> jobs;
    bool keep = false;
    for (int i = 3; i < argc; ++i) {
        const std::string_view arg(argv[i]);
        if (arg == "--refresh" || arg == "--keep") {
            keep = arg == "--keep";
            continue;
        }
        if (arg.empty() || fs::path(arg).is_absolute()) {
            std::fprintf(stderr, "datapack: not a relative path: '%s'\n", argv[i]);
            return 2;
        }
        jobs.push_back({std::string(arg), keep, {}});
    }

    for (TJob& job : jobs)
        if (!Convert(sourceRoot / job.Relative, job))
            return 1;
    for (const TJob& job : jobs)
        if (!Write(targetRoot / job.Relative, job))
            return 1;
    return 0;
}
