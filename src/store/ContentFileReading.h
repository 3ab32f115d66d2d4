#pragma once

#include "platform/ContentFileReader.h"

namespace tavro {

// Content files read from the disk.
class DiskContentFileReader final : public ContentFileReader {
  public:
    std::optional<std::string> ReadContentFile(const std::u16string& path,
                                               std::u16string& error) override;
};

}  // namespace tavro
