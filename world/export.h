#pragma once

// The copy of a zone's files that the game server reads: the composed lines
// of a world file converted to the server's code page and line ends.

#include "serverkept.h"
#include "worldfile.h"
#include "zone.h"

#include <string>
#include <vector>

enum class TServerCodePage { Koi8r, Cp1251 };
enum class TServerLineEnd { Lf, CrLf };

struct TExportSettings {
    TServerCodePage CodePage = TServerCodePage::Koi8r;
    TServerLineEnd LineEnd = TServerLineEnd::Lf;
};

// What the lines of a workspace file need beside them to reach the server as
// they were read: the file's main line end and what the import kept of the
// server's file (serverkept.h; null: nothing).
struct TServerFileSource {
    std::string_view LineEnd = kCrLf;
    const TServerKept* Kept = nullptr;
};

// The bytes of the server file. A file in the workspace's own form (CR LF
// throughout: made here, or imported before the import kept line ends) takes
// the line end of the settings; any other (a server's CR LF file among them)
// keeps each line's end as read, and its lines written anew take its main one. A line may hold
// several text lines joined by CR LF (a description section); each of those takes the same line
// end. In KOI8-R a line the import kept characters for and nobody changed since gets them back;
// other characters that KOI8-R cannot hold become '?', counted in `substituted` when given.
std::string ServerFileText(const TStringList& lines, const TExportSettings& settings,
                           int* substituted = nullptr, const TServerFileSource& source = {});

// Writes the server file in one piece (a temporary file renamed over `path`,
// so a failed write leaves the old file as it was). On failure reports
// "Не могу сохранить файл " with the path and the reason, and returns false.
bool WriteForServer(const std::string& path, const TStringList& lines,
                    const TExportSettings& settings, int* substituted = nullptr,
                    const TServerFileSource& source = {});
// The same for bytes already converted.
bool WriteServerBytes(const std::string& path, const std::string& bytes);

// Whether an export into `folder` would write into the workspace: the folder
// or one of its six kind folders is the workspace or lies inside it, however
// the path is spelled and through whatever links. The export would replace
// the editor's own files with their server copies, in another code page.
bool ExportWouldWriteIntoWorkspace(const std::string& folder, const std::string& workspace);
