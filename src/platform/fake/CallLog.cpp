#include "platform/fake/CallLog.h"

#include "text/Utf8.h"

namespace tavro::fake {

std::vector<std::string> CallLog::CallsStartingWith(
    std::initializer_list<std::string_view> prefixes) const {
    std::vector<std::string> matching;
    for (const std::string& call : calls_) {
        for (std::string_view prefix : prefixes) {
            if (call.starts_with(prefix)) {
                matching.push_back(call);
                break;
            }
        }
    }
    return matching;
}

std::string FormatCall(std::string_view name, std::initializer_list<std::string> arguments) {
    std::string call(name);
    call += '(';
    bool first = true;
    for (const std::string& argument : arguments) {
        if (!first) {
            call += ',';
        }
        call += argument;
        first = false;
    }
    call += ')';
    return call;
}

std::string Quoted(std::u16string_view text) {
    return '"' + ToUtf8(text) + '"';
}

}  // namespace tavro::fake
