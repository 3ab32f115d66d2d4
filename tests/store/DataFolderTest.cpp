#include "store/DataFolder.h"

#include <gtest/gtest.h>

#include <fstream>

#include "StoreFixture.h"
#include "store/ContentFileReading.h"
#include "text/Utf8.h"

namespace tavro {
namespace {

using test::TemporaryFolder;

class DataFolderTest : public ::testing::Test {
  protected:
    std::filesystem::path Touch(const std::filesystem::path& path) {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << "x";
        return path;
    }

    TemporaryFolder program{"tavro-data"};
    TriggerTable triggers;
};

TEST_F(DataFolderTest, MakesTheDataFolderOnceAndLeavesAnExistingOneAlone) {
    EXPECT_TRUE(CheckDataFolder(program.Path()));
    EXPECT_TRUE(std::filesystem::is_directory(program.Path() / "data"));
    Touch(program.Path() / "data" / "letter.rtf");
    EXPECT_TRUE(CheckDataFolder(program.Path()));
    EXPECT_TRUE(std::filesystem::exists(program.Path() / "data" / "letter.rtf"));

    EXPECT_FALSE(CheckDataFolder(program.Path() / "missing" / "deeper"));
}

// An existing file keeps its path.
TEST_F(DataFolderTest, AFileMovedWithTheProgramIsFoundInTheDataFolder) {
    const auto file = Touch(program.Path() / "elsewhere" / "letter.rtf").u16string();
    EXPECT_EQ(FindContentFile(file, program.Path(), triggers), file);
    EXPECT_FALSE(triggers.TriggersDirty);

    const auto moved = Touch(program.Path() / "data" / "letter.rtf");
    EXPECT_EQ(FindContentFile(u"C:\\Old Place\\data\\letter.rtf", program.Path(), triggers),
              moved.u16string());
    EXPECT_TRUE(triggers.TriggersDirty);

    triggers.TriggersDirty = false;
    EXPECT_EQ(FindContentFile(u"/home/old/tavro/data/letter.rtf", program.Path(), triggers),
              moved.u16string());
    EXPECT_TRUE(triggers.TriggersDirty);
}

TEST_F(DataFolderTest, WhatCannotBeFoundKeepsItsPathOrBecomesEmpty) {
    std::filesystem::create_directories(program.Path() / "data" / "folder.rtf");
    Touch(program.Path() / "data" / ".hidden.rtf");
    EXPECT_EQ(FindContentFile(u"/old/folder.rtf", program.Path(), triggers), u"/old/folder.rtf");
    EXPECT_EQ(FindContentFile(u"/old/.hidden.rtf", program.Path(), triggers), u"/old/.hidden.rtf");
    EXPECT_EQ(FindContentFile(u"/old/", program.Path(), triggers), u"/old/");
    EXPECT_EQ(FindContentFile(u"letter.rtf", program.Path(), triggers), u"");
    EXPECT_EQ(FindContentFile(u"", program.Path(), triggers), u"");
    EXPECT_FALSE(triggers.TriggersDirty);
}

TEST_F(DataFolderTest, ContentFilesAreReadWholeOrSayWhyNot) {
    DiskContentFileReader reader;
    std::u16string error;
    const std::filesystem::path file = program.Path() / "letter.rtf";
    std::ofstream(file, std::ios::binary) << std::string("{\\rtf1 a\0b}\r\n", 13);
    EXPECT_EQ(reader.ReadContentFile(file.u16string(), error),
              std::string("{\\rtf1 a\0b}\r\n", 13));
    EXPECT_EQ(error, u"");
    std::ofstream(program.Path() / "empty.rtf").flush();
    EXPECT_EQ(reader.ReadContentFile((program.Path() / "empty.rtf").u16string(), error), "");

    const std::u16string missing = (program.Path() / "gone.rtf").u16string();
    EXPECT_EQ(reader.ReadContentFile(missing, error), std::nullopt);
    EXPECT_EQ(error, u"File not found: " + missing);
    const std::u16string folder = program.Path().u16string();
    EXPECT_EQ(reader.ReadContentFile(folder, error), std::nullopt);
    EXPECT_TRUE(error.starts_with(u"Cannot read " + folder + u": ")) << ToUtf8(error);
}

}  // namespace
}  // namespace tavro
