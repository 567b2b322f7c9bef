#include "unparsed.h"

#include "worldfile.h"

#include <algorithm>

const std::vector<TUnparsedRecord>& UnparsedRecords(const TWorldView& world, TRecordType kind,
                                                    int32_t zone) {
    static const std::vector<TUnparsedRecord> none;
    if (kind == TRecordType::Zone)
        return none;
    return WithRecordList(world, kind, [zone](const auto& list) -> const std::vector<TUnparsedRecord>& {
        return UnparsedRecordsOf(list, zone);
    });
}

std::vector<int32_t> ZonesWithUnparsed(const TWorldView& world, TRecordType kind) {
    std::vector<int32_t> zones;
    if (kind == TRecordType::Zone)
        return zones;
    WithRecordList(world, kind, [&zones](const auto& list) {
        for (const auto& [zone, frame] : list.Frames())
            if (!frame.Unparsed.empty())
                zones.push_back(zone);
    });
    std::sort(zones.begin(), zones.end());
    return zones;
}

std::optional<int32_t> UnparsedNumber(const TUnparsedRecord& record) {
    if (record.Lines.empty())
        return std::nullopt;
    // "#1205", "#1205~" or a shop's "#1205 E~": the digits after the "#" up
    // to the end, a "~" or a space; "#12x" has no number.
    const std::string_view header = LineText(record.Lines.front());
    size_t end = 1;
    if (end < header.size() && header[end] == '-')
        ++end;
    while (end < header.size() && header[end] >= '0' && header[end] <= '9')
        ++end;
    if (end < header.size() && header[end] != '~' && header[end] != ' ')
        return std::nullopt;
    const std::string_view digits = header.substr(std::min<size_t>(1, header.size()), end - 1);
    if (!IsDecimal(digits) || digits.size() > 11)
        return std::nullopt;
    const int64_t number = std::stoll(std::string(digits));
    if (number < INT32_MIN || number > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(number);
}

std::string UnparsedName(const TUnparsedRecord& record) {
    if (const auto number = UnparsedNumber(record))
        return std::to_string(*number);
    return record.Lines.empty() ? std::string("#")
                                : QuotedLine(LineText(record.Lines.front()));
}

std::string UnparsedMark() {
    return Msg("(не прочитана)");
}

std::string UnparsedEntryText(const TUnparsedRecord& record) {
    return UnparsedName(record) + "  " + UnparsedMark();
}

std::string UnparsedReason(const TUnparsedRecord& record) {
    std::string reason = Msg("ошибка в строке ") + std::to_string(record.FailedLine) + ": ";
    const long offset = static_cast<long>(record.FailedLine) - record.FirstLine;
    if (offset >= 0 && static_cast<size_t>(offset) < record.Lines.size())
        return reason + Msg("«") +
               QuotedLine(LineText(record.Lines[static_cast<size_t>(offset)])) + Msg("»");
    return reason + Msg("после последней строки записи");
}

std::string UnparsedRecordText(const TUnparsedRecord& record) {
    std::string text;
    for (const std::string& line : record.Lines) {
        if (!text.empty())
            text += '\n';
        text += LineText(line);
    }
    return text;
}
