#include "serverkept.h"

#include "codepage.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {
constexpr std::string_view kCrLfMark = "CRLF";
} // namespace

std::string ServerKeptFileName(const std::string& worldFile) {
    return worldFile + ".kept";
}

bool IsServerKeptFile(std::string_view name) {
    return name.ends_with(".kept");
}

TServerKept ReadServerKept(const std::string& worldFile) {
    TServerKept kept;
    std::string bytes;
    if (!ReadFileBytes(ServerKeptFileName(worldFile), bytes))
        return kept;
    std::vector<std::string_view> lines;
    for (size_t start = 0; start < bytes.size();) {
        const size_t stop = std::min(bytes.find('\n', start), bytes.size());
        lines.push_back(std::string_view(bytes).substr(start, stop - start));
        start = stop + 1;
    }
    size_t first = 0;
    if (!lines.empty() && lines.front() == kCrLfMark) {
        kept.CrLf = true;
        first = 1;
    }
    for (size_t i = first; i + 1 < lines.size(); i += 2)
        kept.Lines.push_back({Utf8ToCp1251(lines[i]), std::string(lines[i + 1])});
    return kept;
}

std::string ServerKeptText(const TServerKept& kept) {
    std::string text;
    if (kept.CrLf) {
        text += kCrLfMark;
        text += '\n';
    }
    for (const TKeptLine& line : kept.Lines) {
        text += Cp1251ToUtf8(line.Substituted);
        text += '\n';
        text += line.Original;
        text += '\n';
    }
    return text;
}

bool EndsEveryLineWithCrLf(std::string_view bytes) {
    bool any = false;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const bool crlf = bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n';
        if (crlf)
            any = true;
        else if (bytes[i] == '\r' || (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')))
            return false;
        i += crlf ? 1 : 0;
    }
    return any;
}

void FollowServerKept(const std::string& worldFile, const TStringList& lines) {
    const TServerKept kept = ReadServerKept(worldFile);
    if (kept.Lines.empty())
        return;
    std::unordered_map<std::string_view, int> present;
    for (const std::string& line : lines)
        ++present[LineText(line)];
    TServerKept still;
    still.CrLf = kept.CrLf;
    for (const TKeptLine& line : kept.Lines)
        if (int& count = present[line.Substituted]; count > 0) {
            --count;
            still.Lines.push_back(line);
        }
    if (still == kept)
        return;
    const std::string side = ServerKeptFileName(worldFile);
    if (still.Empty()) {
        std::error_code error;
        std::filesystem::remove(side, error);
    } else {
        // A side file that cannot be written keeps lines that may no longer
        // match any: harmless, as only equal lines take their originals.
        SaveBytesToFile(side, ServerKeptText(still));
    }
}

TKeptLineMatch::TKeptLineMatch(const std::vector<TKeptLine>& kept) {
    for (const TKeptLine& line : kept)
        pending_[line.Substituted].push_back(&line.Original);
}

const std::string* TKeptLineMatch::OriginalOf(std::string_view line) {
    if (pending_.empty())
        return nullptr;
    const auto found = pending_.find(LineText(line));
    if (found == pending_.end() || found->second.empty())
        return nullptr;
    const std::string* original = found->second.front();
    found->second.pop_front();
    return original;
}
