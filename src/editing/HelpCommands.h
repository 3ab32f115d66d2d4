#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace tavro {

class MessageBoxes;
class WindowOperations;

// The help document: HTML pages in the folder "help" beside the program.
inline constexpr std::u16string_view kHelpFolderName = u"help";
inline constexpr std::u16string_view kHelpContents = u"contents.html";
inline constexpr std::u16string_view kHelpIndex = u"keywords.html";
inline constexpr std::u16string_view kHelpWelcome = u"welcome.html";
inline constexpr std::u16string_view kHelpTutorial = u"tutorial.html";
inline constexpr std::u16string_view kHelpTriggerList = u"trigger-list.html";

// The help page about a page of SSTab1; none for a page without one.
std::optional<std::u16string_view> HelpTopicForPage(int page);

// The Help menu and F1: each opens a page of the help document with the
// program the desktop opens web pages with.
class HelpCommands {
  public:
    HelpCommands(WindowOperations& windowOperations, MessageBoxes& messages,
                 std::filesystem::path programFolder);

    void mnuHelpContents_Click() { OpenTopic(kHelpContents); }
    void mnuIndex_Click() { OpenTopic(kHelpIndex); }
    void mnuWelcome_Click() { OpenTopic(kHelpWelcome); }
    void mnuTutorial_Click() { OpenTopic(kHelpTutorial); }
    // F1: the help about the page that has the focus; with the focus outside
    // the pages (the list, the header fields), the help about the list.
    void ShowHelp(std::optional<int> focusedPage);

  private:
    // A page that is missing is reported, rather than handed to a browser
    // that would show an error of its own or nothing at all.
    void OpenTopic(std::u16string_view file);

    WindowOperations& windowOperations_;
    MessageBoxes& messages_;
    std::filesystem::path programFolder_;
};

}  // namespace tavro
