#include "store/DataFolder.h"

#include <gtest/gtest.h>

#include <fstream>

#include "StoreFixture.h"
#include "store/ContentFileReading.h"
#include "text/Utf8.h"

namespace tavro {
namespace {

class DataFolderTest : public ::testing::Test {
  protected:
    std::filesystem::path Touch(const std::filesystem::path& path) {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << "x";
        return path;
    }

    test::TemporaryFolder program{"tavro-data"};
};

// A path that no longer leads to its file, stored on another computer or
// under another user name, leads to the file of that name in the data
// folder, and the table is then to be saved. Folders, hidden files and bare
// names are not looked for.
TEST_F(DataFolderTest, AFileMovedWithTheProgramIsFoundInTheDataFolder) {
    const auto elsewhere = Touch(program.Path() / "elsewhere" / "letter.rtf").u16string();
    const auto moved = Touch(program.Path() / "data" / "letter.rtf").u16string();
    std::filesystem::create_directories(program.Path() / "data" / "folder.rtf");
    Touch(program.Path() / "data" / ".hidden.rtf");
    const std::pair<std::u16string, std::u16string> cases[] = {
        {elsewhere, elsewhere},
        {u"C:\\Old Place\\data\\letter.rtf", moved},
        {u"/home/old/tavro/data/letter.rtf", moved},
        {u"/old/folder.rtf", u"/old/folder.rtf"},
        {u"/old/.hidden.rtf", u"/old/.hidden.rtf"},
        {u"/old/", u"/old/"},
        {u"letter.rtf", u""},
        {u"", u""}};
    for (const auto& [stored, found] : cases) {
        SCOPED_TRACE(ToUtf8(stored));
        TriggerTable triggers;
        EXPECT_EQ(FindContentFile(stored, program.Path(), triggers), found);
        EXPECT_EQ(triggers.TriggersDirty, found != stored && !found.empty());
    }
}

TEST_F(DataFolderTest, ContentFilesAreReadWholeOrSayWhyNot) {
    DiskContentFileReader reader;
    std::u16string error;
    const std::filesystem::path file = program.Path() / "letter.rtf";
    const std::string content("{\\rtf1 a\0b}\r\n", 13);
    std::ofstream(file, std::ios::binary) << content;
    EXPECT_EQ(reader.ReadContentFile(file.u16string(), error), content);
    EXPECT_EQ(error, u"");

    const std::u16string missing = (program.Path() / "gone.rtf").u16string();
    EXPECT_EQ(reader.ReadContentFile(missing, error), std::nullopt);
    EXPECT_EQ(error, u"File not found: " + missing);
    const std::u16string folder = program.Path().u16string();
    EXPECT_EQ(reader.ReadContentFile(folder, error), std::nullopt);
    EXPECT_TRUE(error.starts_with(u"Cannot read " + folder + u": ")) << ToUtf8(error);
}

}  // namespace
}  // namespace tavro
