#include "settings.h"

#include "strutils.h"
#include "worldfile.h"

namespace {
std::optional<int> ReadInteger(const TProfileFile& file, const char* section, const char* key) {
    const std::string text = file.ReadString(section, key);
    try {
        return ToInt32(text);
    } catch (const TLoadFailure&) {
        return std::nullopt;
    }
}
} // namespace

TSettings ReadSettings(const TProfileFile& file) {
    TSettings s;
    s.Coding = ReadInteger(file, "SaveMUD", "Coding").value_or(-1);
    s.Crlf = ReadInteger(file, "SaveMUD", "CRLF").value_or(-1);
    s.Path = file.ReadString("SaveMUD", "Path", s.Path);
    s.Status = StrToBool(file.ReadString("Editor", "Status"));
    s.Confirm = StrToBool(file.ReadString("Editor", "Confirm"));
    s.Tools = StrToBool(file.ReadString("Editor", "Tools"));
    s.Position = StrToBool(file.ReadString("Editor", "Position"));
    if (const auto minutes = ReadInteger(file, "Editor", "Recovery");
        minutes && *minutes >= 1 && *minutes <= 60)
        s.RecoveryMinutes = *minutes;
    s.MainX = ReadInteger(file, "Position", "MainX");
    s.MainY = ReadInteger(file, "Position", "MainY");
    s.MainW = ReadInteger(file, "Position", "MainW");
    s.MainH = ReadInteger(file, "Position", "MainH");
    s.PickerW = ReadInteger(file, "Position", "PickerW");
    s.PickerH = ReadInteger(file, "Position", "PickerH");
    return s;
}

void WriteSettings(TProfileFile& file, const TSettings& s) {
    file.WriteString("SaveMUD", "Coding", std::to_string(s.Coding));
    file.WriteString("SaveMUD", "CRLF", std::to_string(s.Crlf));
    file.WriteString("SaveMUD", "Path", s.Path);
    file.WriteString("Editor", "Status", BoolToStr(s.Status));
    file.WriteString("Editor", "Confirm", BoolToStr(s.Confirm));
    file.WriteString("Editor", "Tools", BoolToStr(s.Tools));
    file.WriteString("Editor", "Position", BoolToStr(s.Position));
    // A file that never had the key keeps its nine lines while the default stands.
    if (s.RecoveryMinutes != TSettings{}.RecoveryMinutes ||
        !file.ReadString("Editor", "Recovery").empty())
        file.WriteString("Editor", "Recovery", std::to_string(s.RecoveryMinutes));
    file.WriteString("Position", "MainX", std::to_string(s.MainX.value_or(0)));
    file.WriteString("Position", "MainY", std::to_string(s.MainY.value_or(0)));
    if (s.MainW && s.MainH) {
        file.WriteString("Position", "MainW", std::to_string(*s.MainW));
        file.WriteString("Position", "MainH", std::to_string(*s.MainH));
    }
    if (s.PickerW && s.PickerH) {
        file.WriteString("Position", "PickerW", std::to_string(*s.PickerW));
        file.WriteString("Position", "PickerH", std::to_string(*s.PickerH));
    }
}
