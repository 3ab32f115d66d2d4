#include "editing/HelpCommands.h"

#include <array>

#include "editing/TypePages.h"
#include "platform/MessageBoxes.h"
#include "window/WindowOperations.h"

namespace tavro {

namespace {

constexpr std::array<std::u16string_view, kPageCount> kPageTopics = {
    u"text-triggers.html",   u"rtf-triggers.html", u"image-triggers.html",
    u"launch-triggers.html", u"key-view.html",     u"application-lists.html",
    u"new-trigger.html",
};
constexpr std::u16string_view kMissingTitle = u"Tavro! Help";

}  // namespace

std::optional<std::u16string_view> HelpTopicForPage(int page) {
    if (page < 0 || page >= kPageCount) {
        return std::nullopt;
    }
    return kPageTopics[static_cast<std::size_t>(page)];
}

HelpCommands::HelpCommands(WindowOperations& windowOperations, MessageBoxes& messages,
                           std::filesystem::path programFolder)
    : windowOperations_(windowOperations),
      messages_(messages),
      programFolder_(std::move(programFolder)) {}

void HelpCommands::ShowHelp(std::optional<int> focusedPage) {
    const std::optional<std::u16string_view> topic =
        focusedPage ? HelpTopicForPage(*focusedPage) : std::nullopt;
    OpenTopic(topic.value_or(kHelpTriggerList));
}

void HelpCommands::OpenTopic(std::u16string_view file) {
    const std::filesystem::path page = programFolder_ / kHelpFolderName / file;
    std::error_code error;
    if (!std::filesystem::is_regular_file(page, error)) {
        messages_.ShowMessage(u"The help page " + page.u16string() +
                                  u" is missing. Tavro's help is kept in the folder \"help\" "
                                  u"beside the program.",
                              std::u16string(kMissingTitle), MessageIcon::Exclamation);
        return;
    }
    windowOperations_.ShellOpen(page.u16string());
}

}  // namespace tavro
