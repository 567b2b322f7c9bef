#pragma once

// The copy of a zone's files that the game server reads: the composed lines
// of a world file converted to the server's code page and line ends.

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

// The bytes of the server file. A line may hold several text lines joined by
// CR LF (multi-line texts composed as one entry); with LF line ends each of
// those CR LF pairs becomes LF as well. Characters that KOI8-R cannot hold
// become '?', counted in `substituted` when given.
std::string ServerFileText(const TStringList& lines, const TExportSettings& settings,
                           int* substituted = nullptr);

// Writes the server file in one piece (a temporary file renamed over `path`,
// so a failed write leaves the old file as it was). On failure reports
// "Не могу сохранить файл " with the path and the reason, whatever
// ShowFileErrors says, and returns false.
bool WriteForServer(const std::string& path, const TStringList& lines,
                    const TExportSettings& settings, int* substituted = nullptr);
// The same for bytes already converted.
bool WriteServerBytes(const std::string& path, const std::string& bytes);

// Whether an export into `folder` would write into the workspace: the folder
// or one of its six kind folders is the workspace or lies inside it, however
// the path is spelled and through whatever links. The export would replace
// the editor's own files with their server copies, in another code page.
bool ExportWouldWriteIntoWorkspace(const std::string& folder, const std::string& workspace);
