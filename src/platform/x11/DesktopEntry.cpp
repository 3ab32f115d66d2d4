#include "platform/x11/DesktopEntry.h"

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <map>

namespace tavro::x11 {

namespace {

constexpr std::string_view kEntryGroup = "[Desktop Entry]";
constexpr std::string_view kDefaultDataDirectories = "/usr/local/share:/usr/share";
// Escaped by a backslash inside a quoted argument of an Exec line.
constexpr std::string_view kQuotedEscapes = "\"`$\\";
// Field codes that stand for files or URLs (and deprecated ones): none here.
constexpr std::string_view kRemovedFieldCodes = "fFuUdDnNvm";

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::vector<std::string> DataDirectories() {
    std::vector<std::string> directories;
    const std::string home = Environment("XDG_DATA_HOME");
    if (home.starts_with('/')) {
        directories.push_back(home);
    } else if (const std::string user = Environment("HOME"); !user.empty()) {
        directories.push_back(user + "/.local/share");
    }
    const std::string listed = Environment("XDG_DATA_DIRS");
    std::string_view rest = listed.empty() ? kDefaultDataDirectories : listed;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find(':'), rest.size());
        if (rest.starts_with('/')) {
            directories.emplace_back(rest.substr(0, end));
        }
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return directories;
}

bool IsRegularFile(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The escapes of a string value: \s, \n, \t, \r and \\.
std::string Unescaped(std::string_view value) {
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        switch (const char next = value[++i]) {
            case 's':
                text += ' ';
                break;
            case 'n':
                text += '\n';
                break;
            case 't':
                text += '\t';
                break;
            case 'r':
                text += '\r';
                break;
            case '\\':
                text += '\\';
                break;
            default:
                text += '\\';
                text += next;
                break;
        }
    }
    return text;
}

// The keys of the file's [Desktop Entry] group, values unescaped.
std::optional<std::map<std::string, std::string>> ReadEntryGroup(const std::string& file) {
    std::ifstream input(file);
    if (!input) {
        return std::nullopt;
    }
    std::map<std::string, std::string> keys;
    bool inEntry = false;
    for (std::string line; std::getline(input, line);) {
        const std::string_view text = Trimmed(line);
        if (text.starts_with('[')) {
            if (inEntry) {
                break;
            }
            inEntry = text == kEntryGroup;
            continue;
        }
        const std::size_t equals = text.find('=');
        if (!inEntry || text.starts_with('#') || equals == std::string_view::npos) {
            continue;
        }
        keys.emplace(Trimmed(text.substr(0, equals)), Unescaped(Trimmed(text.substr(equals + 1))));
    }
    return keys;
}

// The arguments of an Exec line: separated by blanks, or quoted in double
// quotes, in which a backslash takes the next " ` $ or \ as it is.
std::optional<std::vector<std::string>> SplitExecLine(std::string_view line) {
    std::vector<std::string> arguments;
    std::string argument;
    bool inArgument = false;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        const bool escaped = c == '\\' && i + 1 < line.size() &&
                             (!quoted || kQuotedEscapes.find(line[i + 1]) != std::string::npos);
        if (escaped) {
            argument += line[++i];
            inArgument = true;
        } else if (c == '"') {
            quoted = !quoted;
            inArgument = true;
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (inArgument) {
                arguments.push_back(std::move(argument));
                argument.clear();
            }
            inArgument = false;
        } else {
            argument += c;
            inArgument = true;
        }
    }
    if (quoted) {
        return std::nullopt;
    }
    if (inArgument) {
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

// Adds what one argument of the Exec line stands for: nothing when it was
// only field codes that stand for nothing here.
void AddExpanded(const std::string& argument, const std::map<std::string, std::string>& keys,
                 const std::string& file, std::vector<std::string>& arguments) {
    const auto value = [&](const char* key) {
        const auto found = keys.find(key);
        return found != keys.end() ? found->second : std::string();
    };
    if (argument == "%i") {
        if (const std::string icon = value("Icon"); !icon.empty()) {
            arguments.push_back("--icon");
            arguments.push_back(icon);
        }
        return;
    }
    std::string expanded;
    for (std::size_t i = 0; i < argument.size(); ++i) {
        if (argument[i] != '%' || i + 1 == argument.size()) {
            expanded += argument[i];
            continue;
        }
        const char code = argument[++i];
        if (code == '%') {
            expanded += '%';
        } else if (code == 'c') {
            expanded += value("Name");
        } else if (code == 'k') {
            expanded += file;
        } else if (kRemovedFieldCodes.find(code) == std::string_view::npos && code != 'i') {
            expanded += '%';
            expanded += code;
        }
    }
    if (!expanded.empty() || argument.empty()) {
        arguments.push_back(std::move(expanded));
    }
}

}  // namespace

std::string FindDesktopEntry(std::string_view id) {
    for (const std::string& directory : DataDirectories()) {
        std::string candidate = directory + "/applications/";
        candidate += id;
        if (IsRegularFile(candidate)) {
            return candidate;
        }
    }
    return {};
}

std::optional<DesktopCommand> ReadDesktopEntry(const std::string& file) {
    const auto keys = ReadEntryGroup(file);
    if (!keys) {
        return std::nullopt;
    }
    const auto value = [&](const char* key) {
        const auto found = keys->find(key);
        return found != keys->end() ? found->second : std::string();
    };
    if (value("Type") != "Application" || value("Hidden") == "true") {
        return std::nullopt;
    }
    const auto split = SplitExecLine(value("Exec"));
    if (!split || split->empty()) {
        return std::nullopt;
    }
    DesktopCommand command;
    for (const std::string& argument : *split) {
        AddExpanded(argument, *keys, file, command.arguments);
    }
    if (command.arguments.empty() || command.arguments.front().empty()) {
        return std::nullopt;
    }
    command.folder = value("Path");
    command.terminal = value("Terminal") == "true";
    return command;
}

}  // namespace tavro::x11
