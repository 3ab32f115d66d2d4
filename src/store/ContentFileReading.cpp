#include "store/ContentFileReading.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "text/Utf8.h"

namespace tavro {

std::optional<std::string> DiskContentFileReader::ReadContentFile(const std::u16string& path,
                                                                  std::u16string& error) {
    const std::filesystem::path file(path);
    std::error_code status;
    if (!std::filesystem::exists(file, status)) {
        error = u"File not found: " + path;
        return std::nullopt;
    }
    errno = 0;
    const std::uintmax_t size = std::filesystem::file_size(file, status);
    std::ifstream stream(file, std::ios::binary);
    std::string bytes;
    if (!status && stream) {
        bytes.resize(static_cast<std::size_t>(size));
        stream.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    if (status || !stream || static_cast<std::uintmax_t>(stream.gcount()) != size) {
        const std::error_code reason =
            status ? status : std::error_code(errno != 0 ? errno : EIO, std::generic_category());
        error = u"Cannot read " + path + u": " + FromUtf8(reason.message());
        return std::nullopt;
    }
    return bytes;
}

}  // namespace tavro
