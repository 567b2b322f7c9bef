#pragma once

// What a killed save or import leaves behind: the safe save's temporary file
// beside the file it was writing (".12.wld.Ab3dEf") and the import's staging
// folder beside the workspace (".Zones.import-Ab3dEf"). Nothing else ever
// removes them, and a staging folder may hold megabytes.

#include <filesystem>
#include <string>
#include <vector>

// Removes those of the workspace `dir`: temporary files in its kind folders
// and staging folders beside it, named exactly as this program names them
// (a zone number, one of the seven world file extensions, six letters or
// digits) and left untouched since well before `started`, the start of this
// process: whatever another editor or worldtool on the same folder is writing
// right now stays. Returns the paths removed.
std::vector<std::string> RemoveLeftovers(const std::string& dir,
                                         std::filesystem::file_time_type started);
