#pragma once

// What a server's file held that its workspace copy cannot show, kept by the
// import in a small side file beside the copy ("WLD/12.wld.kept"), the
// editor's own and never exported:
// - the lines with characters Windows-1251 has no code for (box drawing,
//   maths signs), which the copy holds with '?' in their place: each as the
//   copy holds it and as it was. The export in KOI8-R puts them back into
//   the lines nobody changed (a line still equal to its substituted form); a
//   save drops the lines that are gone.
// - that the server's file ended every line with CR LF: such a copy looks
//   like a file of the workspace's own form, which the export would give the
//   line end of the settings, where this one keeps its own.

#include "worldfile.h"

#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct TKeptLine {
    std::string Substituted; // the line as the workspace file holds it (Windows-1251, '?')
    std::string Original;    // the line as it was read (UTF-8)
    bool operator==(const TKeptLine&) const = default;
};

struct TServerKept {
    bool CrLf = false; // the server's file ended every line with CR LF
    std::vector<TKeptLine> Lines;
    bool Empty() const { return !CrLf && Lines.empty(); }
    bool operator==(const TServerKept&) const = default;
};

// "WLD/12.wld" keeps it in "WLD/12.wld.kept".
std::string ServerKeptFileName(const std::string& worldFile);
bool IsServerKeptFile(std::string_view name);
// What is kept for a world file; nothing without a side file.
TServerKept ReadServerKept(const std::string& worldFile);
// The side file's bytes (UTF-8, each line ended by LF): the line "CRLF" first
// when the server's file ended its lines so, then two lines for each kept
// line, its substituted form and its original. (A substituted line holds a
// '?', so it is never that first line.)
std::string ServerKeptText(const TServerKept& kept);
// Whether every line of `bytes` ends with CR LF (the last may have no end).
bool EndsEveryLineWithCrLf(std::string_view bytes);
// After `lines` were written into `worldFile`: its side file keeps the lines
// still there (each as often as the file holds it) and goes when nothing is
// left in it.
void FollowServerKept(const std::string& worldFile, const TStringList& lines);

// The kept lines matched, in order, with the lines of their file: each kept
// line is the original of the next line equal to its substituted form. The
// kept lines must outlive the match.
class TKeptLineMatch {
public:
    explicit TKeptLineMatch(const std::vector<TKeptLine>& kept);
    bool Empty() const { return pending_.empty(); }
    // The original (UTF-8) of the next line of the file, `line` (its end not
    // counted); null when it is not a line that was substituted.
    const std::string* OriginalOf(std::string_view line);

private:
    std::unordered_map<std::string_view, std::deque<const std::string*>> pending_;
};
