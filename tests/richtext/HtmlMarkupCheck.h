#pragma once

#include <algorithm>
#include <array>
#include <string_view>

namespace tavro::test {

// Whether the tag is one the HTML writer writes, with no attribute but its own.
inline bool IsWriterTag(std::string_view tag) {
    static constexpr std::array<std::string_view, 22> kPlain = {
        "<html>", "</html>", "<head>", "</head>",  "<meta charset=\"utf-8\">",
        "<body>", "</body>", "</p>",   "</span>",  "<b>",
        "</b>",   "<i>",     "</i>",   "<u>",      "</u>",
        "<s>",    "</s>",    "<br>",   "</table>", "<tr>",
        "</tr>",  "</td>"};
    if (std::find(kPlain.begin(), kPlain.end(), tag) != kPlain.end()) {
        return true;
    }
    for (const std::string_view start :
         {"<p style=\"", "<span style=\"", "<td style=\"", "<table style=\""}) {
        if (tag.starts_with(start)) {
            const std::string_view value = tag.substr(start.size());
            return value.ends_with("\">") && value.find('"') == value.size() - 2;
        }
    }
    // <img src="data:image/png;base64,..." width="N" height="N">, sizes optional.
    std::string_view rest = tag;
    const auto take = [&](std::string_view expected) {
        const bool found = rest.starts_with(expected);
        if (found) {
            rest.remove_prefix(expected.size());
        }
        return found;
    };
    const auto takeWhile = [&](std::string_view characters) {
        rest.remove_prefix(std::min(rest.size(), rest.find_first_not_of(characters)));
    };
    if (!take("<img src=\"data:image/") || !(take("png;base64,") || take("jpeg;base64,"))) {
        return false;
    }
    takeWhile("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=");
    if (!take("\"")) {
        return false;
    }
    for (const std::string_view size : {" width=\"", " height=\""}) {
        if (take(size)) {
            takeWhile("0123456789");
            if (!take("\"")) {
                return false;
            }
        }
    }
    return rest == ">";
}

// Whether every tag of the page is one the HTML writer writes and the text
// between tags holds no quote or '>': so that nothing in the document
// became markup.
inline bool OnlyWriterMarkup(std::string_view html) {
    std::size_t at = 0;
    while (true) {
        const std::size_t open = html.find('<', at);
        if (html.substr(at, open - at).find_first_of("\">") != std::string_view::npos) {
            return false;
        }
        if (open == std::string_view::npos) {
            return true;
        }
        const std::size_t close = html.find('>', open);
        if (close == std::string_view::npos || !IsWriterTag(html.substr(open, close + 1 - open))) {
            return false;
        }
        at = close + 1;
    }
}

}  // namespace tavro::test
