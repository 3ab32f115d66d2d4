#include "platform/fake/FakePictureLoader.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/fake/CallLog.h"

namespace tavro::fake {

namespace {

bool StartsWith(const std::vector<std::uint8_t>& bytes, std::initializer_list<std::uint8_t> start) {
    return bytes.size() >= start.size() && std::equal(start.begin(), start.end(), bytes.begin());
}

}  // namespace

std::vector<std::uint8_t> FakePictureLoader::LoadPicture(const std::u16string& path) {
    log_.Record([&] { return FormatCall("LoadPicture", {Quoted(path)}); });
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                    std::istreambuf_iterator<char>()};
    if (StartsWith(bytes, {0x89, 'P', 'N', 'G'}) || StartsWith(bytes, {0xFF, 0xD8})) {
        return bytes;
    }
    return {};
}

}  // namespace tavro::fake
