#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "legend/LegendFixture.h"
#include "legend/LegendPrinter.h"
#include "richtext/RtfReader.h"
#include "window/WindowOperations.h"

namespace tavro {
namespace {

using test::ReadFile;
using test::WriteFile;
using ::testing::ElementsAre;

constexpr WindowHandle kMainWindow = 100;

class LegendPrinting : public test::LegendFixture {
  protected:
    LegendPrinting() {
        platform_.windows.SetMainWindow(kMainWindow);
        platform_.windows.SetProgramFolder(ProgramFolder().u16string());
        Add(u";sig", u"Signature", u"Text").ReplaceText = u"Best regards";
    }

    void Print(const std::filesystem::path& programFolder) {
        LegendPrinter printer({operations_, platform_.desktop, pictures_}, programFolder);
        printer.mnuPrint(triggers_);
    }

    static std::string CannotSave(const std::filesystem::path& file) {
        return fake::FormatCall("MessageBox",
                                {fake::Quoted(u"Unable to save " + file.u16string() +
                                              u" Please close the file and try again."),
                                 fake::Quoted(u"Cannot save temporary file"), "Exclamation"});
    }

    std::vector<std::string> Calls() const {
        return log_.CallsStartingWith({"ShellExecuteA", "MessageBox"});
    }

    WindowOperations operations_{platform_.windows, platform_.windows, platform_.windows};
};

TEST_F(LegendPrinting, SavesThePrintoutBesideTheProgramInPlaceOfTheOldOneAndOpensIt) {
    const std::filesystem::path file = ProgramFolder() / "printout.rtf";
    WriteFile(file, std::string(200000, 'x'));
    Print(ProgramFolder());
    const RtfReadResult result = ReadRtf(ReadFile(file));
    EXPECT_TRUE(result.problems.empty());
    EXPECT_EQ(result.document, Compose());
    EXPECT_THAT(Calls(), ElementsAre(fake::FormatCall(
                             "ShellExecuteA",
                             {"100", fake::Quoted(u"Open"), fake::Quoted(file.u16string()),
                              fake::Quoted(u""), fake::Quoted(ProgramFolder().u16string()), "1"})));
}

TEST_F(LegendPrinting, AFileThatCannotBeWrittenGivesTheMessageAndOpensNothing) {
    // In the way: a folder of that name.
    const std::filesystem::path file = ProgramFolder() / "printout.rtf";
    std::filesystem::create_directory(file);
    Print(ProgramFolder());
    EXPECT_THAT(Calls(), ElementsAre(CannotSave(file)));

    // A full disk: the file opens, but the writing fails.
    log_.Clear();
    std::filesystem::remove(file);
    std::filesystem::create_symlink("/dev/full", file);
    Print(ProgramFolder());
    EXPECT_THAT(Calls(), ElementsAre(CannotSave(file)));

    // A folder nobody may add files to, not even the administrator.
    log_.Clear();
    Print("/proc");
    EXPECT_THAT(Calls(), ElementsAre(CannotSave("/proc/printout.rtf")));
}

TEST_F(LegendPrinting, AReadOnlyPrintoutIsNotReplaced) {
    const std::filesystem::path file = ProgramFolder() / "printout.rtf";
    WriteFile(file, "kept");
    namespace fs = std::filesystem;
    fs::permissions(ProgramFolder(), fs::perms::others_read | fs::perms::others_exec,
                    fs::perm_options::add);
    fs::permissions(file, fs::perms::owner_read | fs::perms::others_read);
    // The administrator may write read-only files: print as nobody then.
    const auto printAsUser = [&] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            std::exit(2);
        }
        Print(ProgramFolder());
        std::exit(Calls() == std::vector{CannotSave(file)} ? 0 : 1);
    };
    EXPECT_EXIT(printAsUser(), ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(ReadFile(file), "kept");
}

}  // namespace
}  // namespace tavro
