#pragma once

#include <optional>
#include <string>

namespace tavro {

// Reads the content files of triggers (rich-text and picture files) whole.
class ContentFileReader {
  public:
    virtual ~ContentFileReader() = default;
    // The file's bytes; none when the file is missing or cannot be read,
    // with the description of the error in `error`.
    virtual std::optional<std::string> ReadContentFile(const std::u16string& path,
                                                       std::u16string& error) = 0;
};

}  // namespace tavro
