// tavro-db: makes a new trigger database with starter triggers, or lists
// what a database holds.

#include <iostream>
#include <string>
#include <string_view>

#include "store/Database.h"
#include "store/StoreDatabase.h"
#include "store/StoreStatements.h"
#include "store/TriggerTable.h"
#include "store/TriggerType.h"
#include "store/sqlite/DatabaseSchema.h"
#include "store/sqlite/SqliteDatabase.h"
#include "text/Utf8.h"

namespace {

using tavro::TriggerRecord;

constexpr std::string_view kUsage =
    "usage: tavro-db create PATH   make a new database with starter triggers\n"
    "       tavro-db list PATH     print the triggers and application lists\n";

TriggerRecord Starter(std::u16string trigger, std::u16string display, std::u16string type,
                      std::u16string replaceText, std::u16string commandLine = u"") {
    TriggerRecord record;
    record.Trigger = std::move(trigger);
    record.Display = std::move(display);
    record.Type = std::move(type);
    record.ReplaceText = std::move(replaceText);
    record.CommandLine = std::move(commandLine);
    return record;
}

void Create(const std::string& path) {
    tavro::CreateDatabase(path);
    tavro::SqliteEngine engine;
    const auto database = engine.OpenDatabase(path);
    database->BeginTrans();
    const TriggerRecord starters[] = {
        Starter(u";sig", u"Signature", u"Text", u"Best regards,\r\nYour name"),
        Starter(u";date", u"Today's date", u"Text", u"%date%"),
        Starter(u";time", u"Current time", u"Text", u"%time%"),
        Starter(u";tavro", u"Open Tavro", u"Text", u"%tavroopen%"),
        Starter(u";data", u"Open the data folder", u"Launch", u"", u"data"),
    };
    const auto triggers = database->OpenRecordset(tavro::kTriggersTable, tavro::kDynaset);
    for (const TriggerRecord& record : starters) {
        tavro::AppendTriggerRow(*triggers, record);
    }
    triggers->Close();
    // Terminals paste with Ctrl+Shift+V: they get keystrokes. Plain editors
    // cannot paste rich text or pictures: they get the alternate text.
    tavro::AppendApplicationRows(*database, tavro::kSendKeyAppsTable, tavro::kSendKeyAppColumn,
                                 {u"Terminal", u"xterm", u"Konsole"});
    tavro::AppendApplicationRows(*database, tavro::kTextOnlyAppsTable, tavro::kTextOnlyAppColumn,
                                 {u"Mousepad", u"gedit"});
    database->CommitTrans();
    database->Close();
    std::cout << "Created " << path << " with " << std::size(starters) << " starter triggers.\n";
}

// A text on one line: line ends and tabs shown as escapes, long texts cut.
std::string OneLine(const std::u16string& text) {
    constexpr std::size_t kLongest = 60;
    std::u16string line;
    for (char16_t c : text.substr(0, kLongest)) {
        line += c == u'\r'   ? u"\\r"
                : c == u'\n' ? u"\\n"
                : c == u'\t' ? u"\\t"
                             : std::u16string(1, c);
    }
    return tavro::ToUtf8(line) + (text.size() > kLongest ? "..." : "");
}

void PrintList(const char* heading, const tavro::ApplicationList& list) {
    std::cout << heading << " (" << list.size() << "):\n";
    for (const std::u16string& fragment : list) {
        std::cout << "  " << tavro::ToUtf8(fragment) << '\n';
    }
}

void List(const std::string& path) {
    tavro::SqliteEngine engine;
    const auto database = engine.OpenDatabase(path);
    const auto rows = database->OpenRecordset(tavro::kSelectTriggers);
    std::cout << "Triggers:\n";
    for (const TriggerRecord& record : tavro::ReadTriggerRows(*rows)) {
        const std::u16string& content = record.Type == tavro::kTypeLaunch  ? record.CommandLine
                                        : record.Type == tavro::kTypeRTF   ? record.ReplaceRTFFile
                                        : record.Type == tavro::kTypeImage ? record.ReplaceImageFile
                                                                           : record.ReplaceText;
        std::cout << "  " << OneLine(record.Trigger) << "  " << OneLine(record.Display) << "  ["
                  << OneLine(record.Type) << "]  " << OneLine(content) << '\n';
    }
    rows->Close();
    PrintList(
        "SendKey applications",
        tavro::ReadApplicationList(*database, tavro::kSelectSendKeyApps, tavro::kSendKeyAppColumn));
    PrintList("TextOnly applications",
              tavro::ReadApplicationList(*database, tavro::kSelectTextOnlyApps,
                                         tavro::kTextOnlyAppColumn));
    database->Close();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string_view command = argv[1];
    try {
        if (command == "create") {
            Create(argv[2]);
        } else if (command == "list") {
            List(argv[2]);
        } else {
            std::cerr << kUsage;
            return 2;
        }
    } catch (const tavro::DatabaseError& error) {
        std::cerr << "tavro-db: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
