// The conversion of composed world file lines for the server.

#include "codepage.h"
#include "export.h"
#include "worldfile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

class TCollect : public TErrorReporter {
public:
    TCollect() { SetErrorReporter(this); }
    ~TCollect() override { SetErrorReporter(nullptr); }
    void ReportError(const std::string& message) override {
        Messages.push_back(Cp1251ToUtf8(message));
    }
    std::vector<std::string> Messages;
};

const TExportSettings kKoiLf{TServerCodePage::Koi8r, TServerLineEnd::Lf};
const TExportSettings kKoiCrLf{TServerCodePage::Koi8r, TServerLineEnd::CrLf};
const TExportSettings kWinLf{TServerCodePage::Cp1251, TServerLineEnd::Lf};
const TExportSettings kWinCrLf{TServerCodePage::Cp1251, TServerLineEnd::CrLf};

struct TCase {
    const char* Name;
    TStringList Lines;
    TExportSettings Settings;
    std::string Expected;
};

TEST(ServerFileText, ConvertsCodePageAndLineEnds) {
    const std::string letters = "\xA8\xB8\xC0\xFF"; // Ё ё А я
    const std::vector<TCase> cases = {
        {"koi8 letters, ascii kept", {letters + " 09az~$"}, kKoiLf, "\xB3\xA3\xE1\xD1 09az~$\n"},
        {"every capital and small letter",
         {"\xC0\xC1\xDF\xE0\xE1\xFF"},
         kKoiLf,
         "\xE1\xE2\xF1\xC1\xC2\xD1\n"},
        {"cp1251 kept", {letters}, kWinLf, letters + "\n"},
        // A multi-line text composed as one entry loses its inner CR as well.
        {"embedded CR LF to LF", {"a\r\nb\r\nc", "~"}, kWinLf, "a\nb\nc\n~\n"},
        {"embedded CR LF kept", {"a\r\nb", "~"}, kWinCrLf, "a\r\nb\r\n~\r\n"},
        {"a lone CR is not a line end", {"a\rb"}, kWinLf, "a\rb\n"},
        {"koi8 with CR LF", {letters, "$"}, kKoiCrLf, "\xB3\xA3\xE1\xD1\r\n$\r\n"},
        {"no lines, no bytes", {}, kKoiLf, ""},
        {"an empty line", {""}, kWinCrLf, "\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ServerFileText(c.Lines, c.Settings), c.Expected) << c.Name;
}

TEST(ServerFileText, CountsWhatKoi8rCannotHold) {
    int lost = -1;
    // "№" and the left guillemet have no KOI8-R code.
    EXPECT_EQ(ServerFileText({"\xB9 \xAB\xC0"}, kKoiLf, &lost), "? ?\xE1\n");
    EXPECT_EQ(lost, 2);
    EXPECT_EQ(ServerFileText({"\xB9"}, kWinLf, &lost), "\xB9\n");
    EXPECT_EQ(lost, 0);
}

// The line-end setting is for files in the workspace's own form; a file
// read with other ends keeps each line's, and its main one for the rest.
TEST(ServerFileText, AFileNotOfOursKeepsEveryLineEnd) {
    const TStringList mixed = {"a", "b\r\n", "c\r\r\n", "d\r", "e"};
    for (const TExportSettings& settings : {kKoiLf, kKoiCrLf, kWinLf, kWinCrLf})
        EXPECT_EQ(ServerFileText(mixed, settings, nullptr, {"\n"}), "a\nb\r\nc\r\r\nd\re\n");
    EXPECT_EQ(ServerFileText({"a", "b\n"}, kWinLf, nullptr, {kCrLf}), "a\r\nb\n");
    // Ours: CR LF throughout, whatever line carries it; unless the server's
    // file was so.
    EXPECT_EQ(ServerFileText({"a", "b\r\n"}, kWinLf, nullptr, {kCrLf}), "a\nb\n");
    const TServerKept serverCrLf = {true, {}};
    EXPECT_EQ(ServerFileText({"a", "b"}, kKoiLf, nullptr, {kCrLf, &serverCrLf}), "a\r\nb\r\n");
}

// The import kept the box-drawing letter of one "? x" line: it comes back
// in KOI8-R in the first such line; Windows-1251 has no place for it.
TEST(ServerFileText, KeptCharactersComeBackInKoi8r) {
    const TServerKept kept = {false, {{"? x", "═ x"}}};
    const TStringList lines = {"y", "? x", "? x\r\n"};
    int lost = -1;
    EXPECT_EQ(ServerFileText(lines, kKoiLf, &lost, {"\n", &kept}), "y\n\xA0 x\n? x\r\n");
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(ServerFileText(lines, kWinCrLf, &lost, {"\n", &kept}), "y\n? x\n? x\r\n");
}

class WriteForServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        Dir = std::filesystem::temp_directory_path() /
              ("velmora-export-" + std::to_string(::getpid()));
        std::filesystem::create_directories(Dir);
    }
    void TearDown() override { std::filesystem::remove_all(Dir); }
    std::string Read(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::filesystem::path Dir;
    TCollect Reporter;
};

TEST_F(WriteForServerTest, ReplacesTheFileWhole) {
    const auto path = (Dir / "12.wld").string();
    ASSERT_TRUE(WriteForServer(path, {"old", "text", "longer than the new one"}, kWinLf));
    ASSERT_TRUE(WriteForServer(path, {"#1200", "\xC0~"}, kKoiLf));
    EXPECT_EQ(Read(path), "#1200\n\xE1~\n");
    EXPECT_TRUE(Reporter.Messages.empty());
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir), {}), 1);
}

TEST_F(WriteForServerTest, ReportsAFailure) {
    const auto path = (Dir / "WLD" / "12.wld").string(); // the folder is missing
    EXPECT_FALSE(WriteForServer(path, {"x"}, kKoiLf));
    ASSERT_EQ(Reporter.Messages.size(), 1u);
    EXPECT_EQ(Reporter.Messages[0],
              "Не могу сохранить файл " + path + ": нет такого файла или папки");

    // A folder in the way of the file is a failure too, and stays a folder.
    std::filesystem::create_directories(Dir / "ZON" / "12.zon");
    EXPECT_FALSE(WriteForServer((Dir / "ZON" / "12.zon").string(), {"x"}, kKoiLf));
    EXPECT_TRUE(std::filesystem::is_directory(Dir / "ZON" / "12.zon"));
    EXPECT_EQ(Reporter.Messages.size(), 2u);
}

} // namespace
