#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavro::x11 {

inline constexpr std::string_view kDesktopEntrySuffix = ".desktop";

// What the desktop entry of an application (a .desktop file) starts.
struct DesktopCommand {
    // The program (as the Exec line names it) and its arguments.
    std::vector<std::string> arguments;
    // The working folder the entry asks for (Path); "" when it asks none.
    std::string folder;
    // Whether the program runs in a terminal (Terminal).
    bool terminal = false;
};

// The file of the desktop entry with this desktop file ID (its file name,
// "org.gnome.Calculator.desktop"): the first one in the applications
// folders of the XDG data directories ($XDG_DATA_HOME, then
// $XDG_DATA_DIRS, with their defaults). "" when there is none.
std::string FindDesktopEntry(std::string_view id);

// The command of the application entry in the file, with no files to open:
// the Exec line split as the desktop entry rules quote it, its field codes
// for files and URLs removed, %i, %c and %k given the entry's icon, name
// and file. std::nullopt when the file cannot be read or holds no entry of
// an application that can be started (another type, hidden, no Exec line,
// an unfinished quote).
std::optional<DesktopCommand> ReadDesktopEntry(const std::string& file);

}  // namespace tavro::x11
