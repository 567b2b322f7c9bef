#pragma once

// Helpers shared by the world library tests: a reporter that records
// messages, temporary folders, and Windows-1251 text from UTF-8 literals.

#include "codepage.h"
#include "worldfile.h"
#include "world.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

// Records every reported message and note (as UTF-8, for readable assertions).
class TRecordingReporter : public TErrorReporter {
public:
    TRecordingReporter() { SetErrorReporter(this); }
    ~TRecordingReporter() override { SetErrorReporter(nullptr); }
    void ReportError(const std::string& message) override {
        Messages.push_back(Cp1251ToUtf8(message));
    }
    void ReportNote(const std::string& message) override { Notes.push_back(Cp1251ToUtf8(message)); }
    std::vector<std::string> Messages;
    std::vector<std::string> Notes;
};

// Windows-1251 bytes of a UTF-8 literal.
inline std::string W(const std::string& utf8) {
    return Utf8ToCp1251(utf8);
}

inline std::vector<std::string> W(const std::vector<std::string>& utf8) {
    std::vector<std::string> out;
    for (const auto& line : utf8)
        out.push_back(Utf8ToCp1251(line));
    return out;
}

// The lines a list of entries becomes in a file: entries holding CR LF split there.
inline std::vector<std::string> AsFileLines(const std::vector<std::string>& entries) {
    std::vector<std::string> out;
    for (const auto& entry : entries) {
        size_t start = 0;
        for (size_t pos; (pos = entry.find("\r\n", start)) != std::string::npos; start = pos + 2)
            out.push_back(entry.substr(start, pos - start));
        out.push_back(entry.substr(start));
    }
    return out;
}

// Joins lines with CR LF after each, as the writers store them.
inline std::string Crlf(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines)
        out += line + "\r\n";
    return out;
}

// The file with one line replaced.
inline std::string CrlfWith(std::vector<std::string> lines, size_t index, const std::string& text) {
    lines[index] = text;
    return Crlf(lines);
}

// The message of a failed read: "Не могу загрузить " with the kind, the file
// line and the suffix; LineError with the suffix of a failing line.
inline std::string LoadError(const std::string& kind, const std::string& name,
                             const std::string& suffix) {
    return "Не могу загрузить " + kind + "\r\nФайл: " + name + "\r\n" + suffix;
}
inline std::string LineError(const std::string& kind, const std::string& name, int line) {
    return LoadError(kind, name, "(Ошибка в строке " + std::to_string(line) + ")");
}

// What a list writes for one zone's file.
template <class List> std::vector<std::string> ZoneFileLines(const List& list, int32_t zone) {
    std::vector<std::string> lines;
    list.SaveToStrings(lines, zone);
    return lines;
}
// What our writer writes for one zone's file: the forms its records were read
// in are forgotten first.
template <class List> std::vector<std::string> OurZoneFileLines(List& list, int32_t zone) {
    list.ForgetSources(zone);
    return ZoneFileLines(list, zone);
}

// The line a failed write of a world file is reported with.
inline std::string SaveError(const std::string& kind, const std::string& path,
                             const std::string& reason) {
    return "Не могу сохранить " + kind + " в файл " + path + ": " + reason;
}
inline const std::string kNoSuchFolder = "нет такого файла или папки";

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

// A fresh world and a temporary folder per test; both are cleaned up after it.
class WorldTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        Dir = std::filesystem::temp_directory_path() /
              (std::string("velmora-") + info->test_suite_name() + "-" + info->name() + "-" +
               std::to_string(::getpid()));
        std::filesystem::remove_all(Dir);
        std::filesystem::create_directories(Dir);
    }
    void TearDown() override {
        std::filesystem::remove_all(Dir);
    }
    std::string PathOf(const std::string& name) const { return (Dir / name).string(); }

    TRecordingReporter Reporter;
    std::filesystem::path Dir;
    TWorld World;
};
