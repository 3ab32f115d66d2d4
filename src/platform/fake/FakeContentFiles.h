#pragma once

#include "store/ContentFileReading.h"

namespace tavro::fake {

class CallLog;

// Reads content files from the disk and records every read, so that tests
// see when files are read among the keys sent.
class FakeContentFiles final : public ContentFileReader {
  public:
    explicit FakeContentFiles(CallLog& log) : log_(log) {}

    std::optional<std::string> ReadContentFile(const std::u16string& path,
                                               std::u16string& error) override;

  private:
    CallLog& log_;
    DiskContentFileReader disk_;
};

}  // namespace tavro::fake
