#include <gtest/gtest.h>

#include <algorithm>

#include "editing/ContentFiles.h"
#include "editing/ListLines.h"
#include "platform/fake/FakeListBox.h"
#include "store/TriggerTable.h"
#include "support/Files.h"
#include "support/TemporaryFolder.h"

namespace tavro {
namespace {

// Equal list lines ("dup - Twin" twice) each reach a slot of their own.
TEST(ListLinesTest, EqualLinesReachTheirSlotsInSlotOrder) {
    TriggerTable table;
    fake::FakeListBox list;
    const std::pair<std::u16string, std::u16string> triggers[] = {
        {u"dup", u"Twin"}, {u"abc", u""}, {u"dup", u"Twin"}};
    for (const auto& [trigger, display] : triggers) {
        const int slot = table.TriggerCount++;
        table.Slot(slot).Trigger = trigger;
        table.Slot(slot).Display = display;
        list.AddItem(table.ListLine(slot));
    }
    ASSERT_EQ(list.Items(), (std::vector<std::u16string>{u"abc - ", u"dup - Twin", u"dup - Twin"}));

    EXPECT_EQ(OccurrenceOfRow(list, 2), 1);
    EXPECT_EQ(SlotForListLine(table, u"dup - Twin", 0), 0);
    EXPECT_EQ(SlotForListLine(table, u"dup - Twin", 1), 2);
    EXPECT_EQ(SlotForListLine(table, u"dup - Twin", 5), 2);  // fewer slots: the last
    EXPECT_EQ(SlotForListLine(table, u"nothing - ", 0), std::nullopt);
    EXPECT_EQ(ListRowForSlot(table, list, 0), 1);
    EXPECT_EQ(ListRowForSlot(table, list, 2), 2);

    // A slot without a line (edited and not saved, or new) selects none.
    table.Slot(1).Display = u"Edited";
    EXPECT_EQ(ListRowForSlot(table, list, 1), -1);
    table.TriggerCount = 4;
    EXPECT_EQ(ListRowForSlot(table, list, 3), -1);
}

TEST(ContentFilesTest, ASaveReplacesTheWholeFileOrLeavesItAsItWas) {
    namespace fs = std::filesystem;
    test::TemporaryFolder folder("tavro-content");
    const fs::path file = folder.Path() / "letter.rtf";
    test::WriteFile(file, std::string(10000, 'o'));
    const fs::perms shared =
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read;
    fs::permissions(file, shared);
    ASSERT_TRUE(SaveContentFile(file.u16string(), std::string("new\0content", 11)));
    EXPECT_EQ(test::ReadFile(file), std::string("new\0content", 11));
    EXPECT_EQ(fs::status(file).permissions(), shared);

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
    for (const fs::path& refused :
         {folder.Path(), file / "under-a-file.rtf", fs::path("/proc/tavro.rtf"), fs::path()}) {
        EXPECT_FALSE(SaveContentFile(refused.u16string(), "x")) << refused;
    }
    // Nothing half-written is left beside the files.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 2);
}

}  // namespace
}  // namespace tavro
