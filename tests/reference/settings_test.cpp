#include "settings.h"
#include "testsupport.h"

#include <gtest/gtest.h>

class Settings : public WorldTest {};

TEST_F(Settings, ReadsTheNineKeys) {
    WriteBytes(PathOf("VelmoraEd.ini"),
               Crlf({"[SaveMUD]", "Coding=1", "CRLF=0", "Path=../srv/lib/world/", "", "[editor]",
                     "STATUS=TRUE", "Confirm=true", "Tools=yes", "Position=True", "[Position]",
                     "MainX=-20", "MainY=140"}));
    const TSettings s = ReadSettings(TProfileFile(PathOf("VelmoraEd.ini")));
    EXPECT_EQ(s.Coding, 1);
    EXPECT_EQ(s.Crlf, 0);
    EXPECT_EQ(s.Path, "../srv/lib/world/");
    EXPECT_TRUE(s.Status);
    EXPECT_TRUE(s.Confirm);
    EXPECT_FALSE(s.Tools); // only TRUE in any case is true
    EXPECT_TRUE(s.Position);
    EXPECT_EQ(s.MainX, -20);
    EXPECT_EQ(s.MainY, 140);
}

TEST_F(Settings, MissingFileAndBadIntegersFallBackToTheDialogsInitialValues) {
    EXPECT_EQ(ReadSettings(TProfileFile(PathOf("none.ini"))), TSettings{});
    WriteBytes(PathOf("a.ini"),
               Crlf({"[SaveMUD]", "Coding=", "CRLF=one", "Path=", "[Position]", "MainX=1e3"}));
    const TSettings s = ReadSettings(TProfileFile(PathOf("a.ini")));
    EXPECT_EQ(s.Coding, -1);
    EXPECT_EQ(s.Crlf, -1);
    EXPECT_EQ(s.Path, ""); // present but empty: taken as typed
    EXPECT_FALSE(s.MainX.has_value());
}

TEST_F(Settings, WritesEachKeyInPlaceAndKeepsEverythingElse) {
    const auto path = PathOf("VelmoraEd.ini");
    WriteBytes(path, Crlf({"; my notes", "[Editor]", "Status=False", "Other=keep", "", "[SaveMUD]",
                           "Path=x"}));
    TProfileFile file(path);
    TSettings s;
    s.Coding = 0;
    s.Crlf = 1;
    s.Status = true;
    s.MainX = 10;
    s.MainY = 20;
    WriteSettings(file, s);
    ASSERT_TRUE(file.Save());
    EXPECT_EQ(ReadBytes(path),
              Crlf({"; my notes", "[Editor]", "Status=True", "Other=keep", "Confirm=False",
                    "Tools=False", "Position=False", "", "[SaveMUD]", "Path=LIB/world/", "Coding=0",
                    "CRLF=1", "", "[Position]", "MainX=10", "MainY=20"}));
    EXPECT_EQ(ReadSettings(TProfileFile(path)), s);
}

TEST_F(Settings, FirstWriteCreatesTheFile) {
    TProfileFile file(PathOf("new.ini"));
    file.WriteString("Editor", "Tools", "True");
    ASSERT_TRUE(file.Save());
    EXPECT_EQ(ReadBytes(PathOf("new.ini")), "[Editor]\r\nTools=True\r\n");
}

TEST_F(Settings, ValuesAreCutAt1023Characters) {
    WriteBytes(PathOf("long.ini"), "[SaveMUD]\r\nPath=" + std::string(5000, 'p') + "\r\n");
    EXPECT_EQ(TProfileFile(PathOf("long.ini")).ReadString("SaveMUD", "Path").size(), 1023u);
}

TEST_F(Settings, FailedSaveLeavesTheOldFile) {
    std::filesystem::create_directories(Dir / "ini-folder");
    TProfileFile file(PathOf("ini-folder"));
    file.WriteString("Editor", "Tools", "True");
    EXPECT_FALSE(file.Save());
    EXPECT_TRUE(std::filesystem::is_directory(Dir / "ini-folder"));
}
