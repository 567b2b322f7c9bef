#pragma once

#include "compactstring.h"
#include "worldfile.h"

#include <string>
#include <vector>

// An extra description of a room or object: what a player sees looking at one
// of its keywords.
struct TExtraDesc {
    TCompactString Keywords;
    TTextLines Description;
    bool operator==(const TExtraDesc&) const = default;
};

// Copies are deep: assigning the list copies every record and its lines.
using TExtraDescList = TSparseList<TExtraDesc>;

// Writes each as "E", the keywords with "~", the text lines and a lone "~".
void WriteExtraDescs(TStringList& lines, const TExtraDescList& descs);
// Reads one extra description after its "E" line and appends it to `descs`;
// a text cut off by the end of the file keeps the lines read.
void ReadExtraDesc(TWorldReader& reader, TExtraDescList& descs);
