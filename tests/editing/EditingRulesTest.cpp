#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "editing/CommandLineDrop.h"
#include "editing/ContentFiles.h"
#include "editing/HelpCommands.h"
#include "editing/ListLines.h"
#include "editing/TypePages.h"
#include "platform/fake/FakeListBox.h"
#include "store/TriggerTable.h"
#include "support/Files.h"
#include "support/TemporaryFolder.h"

namespace tavro {
namespace {

TEST(TypePagesTest, EachTypeHasItsPageAndOnlyItsLettersPickIt) {
    EXPECT_EQ(PageForType(u"Text"), kTextPage);
    EXPECT_EQ(PageForType(u"RTF"), kRichTextPage);
    EXPECT_EQ(PageForType(u"Image"), kImagePage);
    EXPECT_EQ(PageForType(u"Launch"), kLaunchPage);
    EXPECT_EQ(PageForType(u"text"), std::nullopt);  // compared case-sensitively
    EXPECT_EQ(PageForType(u""), std::nullopt);
    EXPECT_TRUE(HasAlternateText(u"RTF"));
    EXPECT_TRUE(HasAlternateText(u"Image"));
    EXPECT_FALSE(HasAlternateText(u"Text"));

    EXPECT_EQ(TypeForLetter(u't'), u"Text");
    EXPECT_EQ(TypeForLetter(u'I'), u"Image");
    EXPECT_EQ(TypeForLetter(u'r'), u"RTF");
    EXPECT_EQ(TypeForLetter(u'L'), u"Launch");
    for (const char16_t other : std::u16string_view(u"xX5 é\b")) {
        EXPECT_EQ(TypeForLetter(other), std::nullopt);
    }
}

class ListLinesTest : public ::testing::Test {
  protected:
    void Add(std::u16string trigger, std::u16string display) {
        const int slot = table.TriggerCount++;
        table.Slot(slot).Trigger = std::move(trigger);
        table.Slot(slot).Display = std::move(display);
        list.AddItem(table.ListLine(slot));
    }

    TriggerTable table;
    fake::FakeListBox list;
};

TEST_F(ListLinesTest, EqualLinesReachTheirSlotsInSlotOrder) {
    Add(u"dup", u"Twin");
    Add(u"abc", u"");
    Add(u"dup", u"Twin");
    ASSERT_EQ(list.Items(), (std::vector<std::u16string>{u"abc - ", u"dup - Twin", u"dup - Twin"}));

    EXPECT_EQ(OccurrenceOfRow(list, 1), 0);
    EXPECT_EQ(OccurrenceOfRow(list, 2), 1);
    EXPECT_EQ(SlotForListLine(table, u"dup - Twin", 0), 0);
    EXPECT_EQ(SlotForListLine(table, u"dup - Twin", 1), 2);
    EXPECT_EQ(SlotForListLine(table, u"dup - Twin", 5), 2);  // fewer slots: the last
    EXPECT_EQ(SlotForListLine(table, u"abc - ", 0), 1);      // a trigger without a name
    EXPECT_EQ(SlotForListLine(table, u"nothing - ", 0), std::nullopt);

    EXPECT_EQ(ListRowForSlot(table, list, 0), 1);
    EXPECT_EQ(ListRowForSlot(table, list, 2), 2);
    EXPECT_EQ(ListRowForSlot(table, list, 1), 0);

    // A slot without a line selects none.
    table.Slot(1).Display = u"Edited";  // not saved yet
    EXPECT_EQ(ListRowForSlot(table, list, 1), -1);
    table.TriggerCount = 4;  // a new slot
    EXPECT_EQ(ListRowForSlot(table, list, 3), -1);
    EXPECT_EQ(ListRowForSlot(table, list, 7), -1);
}

TEST(CommandLineDropTest, AFileThatExistsWinsOverTextAndAMissingOneChangesNothing) {
    test::TemporaryFolder folder("tavro-drop");
    const std::u16string program = (folder.Path() / "tool.sh").u16string();
    std::ofstream(folder.Path() / "tool.sh") << "#!/bin/sh\n";

    EXPECT_EQ(CommandLineFromDrop({}, u"firefox https://example.org"),
              u"firefox https://example.org");
    EXPECT_EQ(CommandLineFromDrop({program}, u"file:///somewhere/tool.sh"), program);
    EXPECT_EQ(CommandLineFromDrop({folder.Path().u16string()}, std::nullopt),
              folder.Path().u16string());
    EXPECT_EQ(CommandLineFromDrop({u"/no/such/file", program}, u"text"), std::nullopt);
    EXPECT_EQ(CommandLineFromDrop({}, std::nullopt), std::nullopt);
}

TEST(ContentFilesTest, ASaveReplacesTheWholeFileOrLeavesItAsItWas) {
    namespace fs = std::filesystem;
    test::TemporaryFolder folder("tavro-content");
    const fs::path file = folder.Path() / "letter.rtf";
    std::ofstream(file) << std::string(10000, 'o');
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    ASSERT_TRUE(SaveContentFile(file.u16string(), std::string("new\0content", 11)));
    EXPECT_EQ(test::ReadFile(file), std::string("new\0content", 11));
    EXPECT_EQ(fs::status(file).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);

    // Through a link, the file it names gets the content.
    const fs::path link = folder.Path() / "link.rtf";
    fs::create_symlink(file, link);
    ASSERT_TRUE(SaveContentFile(link.u16string(), "linked"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::ReadFile(file), "linked");

    // Refused: a read-only file (also for the administrator), a folder, a
    // place that cannot hold files; the old content stays.
    fs::permissions(file, fs::perms::owner_read);
    EXPECT_FALSE(SaveContentFile(file.u16string(), "replaced"));
    EXPECT_EQ(test::ReadFile(file), "linked");
    EXPECT_FALSE(SaveContentFile(folder.Path().u16string(), "x"));
    EXPECT_FALSE(SaveContentFile((file / "under-a-file.rtf").u16string(), "x"));
    EXPECT_FALSE(SaveContentFile(u"/proc/tavro.rtf", "x"));
    EXPECT_FALSE(SaveContentFile(u"", "x"));
    // Nothing half-written is left beside the files.
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.Path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"letter.rtf", "link.rtf"}));
}

TEST(HelpTopicsTest, EveryPageHasATopicOfItsOwn) {
    std::vector<std::u16string_view> topics;
    for (int page = 0; page < kPageCount; ++page) {
        const auto topic = HelpTopicForPage(page);
        ASSERT_TRUE(topic.has_value());
        EXPECT_TRUE(topic->ends_with(u".html"));
        EXPECT_EQ(std::count(topics.begin(), topics.end(), *topic), 0);
        topics.push_back(*topic);
    }
    EXPECT_EQ(HelpTopicForPage(kTextPage), u"text-triggers.html");
    EXPECT_EQ(HelpTopicForPage(kPageCount), std::nullopt);
    EXPECT_EQ(HelpTopicForPage(-1), std::nullopt);
}

}  // namespace
}  // namespace tavro
