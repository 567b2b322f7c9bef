#include "extradesc.h"

void WriteExtraDescs(TStringList& lines, const TExtraDescList& descs) {
    for (const auto& desc : descs) {
        lines.emplace_back("E");
        lines.push_back(desc.Keywords + "~");
        WriteTildeText(lines, desc.Description);
    }
}

void ReadExtraDesc(TWorldReader& reader, TExtraDescList& descs) {
    TExtraDesc& desc = descs.emplace_back();
    desc.Keywords = reader.ReadLineWithoutLast();
    ReadTildeText(reader, desc.Description);
}
