// tavro-rtf: reads RTF files with Tavro's reader, to debug the reader and to
// check it against other programs' files.

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "richtext/DocumentText.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"
#include "text/Utf8.h"

namespace {

constexpr std::string_view kUsage =
    "usage: tavro-rtf text FILE          print the plain text, one line per paragraph\n"
    "       tavro-rtf roundtrip IN OUT   read IN and write it again as OUT\n";

std::optional<std::string> ReadFile(const std::string& path) {
    if (std::filesystem::is_directory(path)) {
        std::cerr << "tavro-rtf: cannot read " << path << ": it is a folder\n";
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::cerr << "tavro-rtf: cannot open " << path << ": " << std::strerror(errno) << "\n";
        return std::nullopt;
    }
    std::ostringstream content;
    content << file.rdbuf();
    if (file.bad()) {
        std::cerr << "tavro-rtf: cannot read " << path << "\n";
        return std::nullopt;
    }
    return std::move(content).str();
}

// Reads the file as RTF; nothing when it cannot be read or is no RTF. The
// problems found on the way are reported and make `clean` false.
std::optional<tavro::Document> ReadDocument(const std::string& path, bool& clean) {
    const std::optional<std::string> content = ReadFile(path);
    if (!content) {
        return std::nullopt;
    }
    tavro::RtfReadResult result = tavro::ReadRtf(*content);
    if (!result.isRtf) {
        std::cerr << "tavro-rtf: " << path
                  << " is not an RTF document (it does not begin with {\\rtf)\n";
        return std::nullopt;
    }
    for (const std::string& problem : result.problems) {
        std::cerr << "tavro-rtf: " << path << ": " << problem << "\n";
    }
    clean = result.problems.empty();
    return std::move(result.document);
}

int PrintText(const std::string& path) {
    bool clean = true;
    const std::optional<tavro::Document> document = ReadDocument(path, clean);
    if (!document) {
        return 1;
    }
    std::cout << tavro::ToUtf8(tavro::DocumentText(*document));
    return clean ? 0 : 1;
}

int RoundTrip(const std::string& in, const std::string& out) {
    bool clean = true;
    const std::optional<tavro::Document> document = ReadDocument(in, clean);
    if (!document) {
        return 1;
    }
    const std::string rtf = tavro::WriteRtf(*document);
    std::ofstream file(out, std::ios::binary | std::ios::trunc);
    file.write(rtf.data(), static_cast<std::streamsize>(rtf.size()));
    file.close();
    if (!file) {
        std::cerr << "tavro-rtf: cannot write " << out << "\n";
        return 1;
    }
    return clean ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string_view command = argc > 1 ? argv[1] : "";
    if (command == "text" && argc == 3) {
        return PrintText(argv[2]);
    }
    if (command == "roundtrip" && argc == 4) {
        return RoundTrip(argv[2], argv[3]);
    }
    std::cerr << kUsage;
    return 2;
}
