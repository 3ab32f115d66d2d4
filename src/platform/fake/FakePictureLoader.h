#pragma once

#include "platform/PictureLoader.h"

namespace tavro::fake {

class CallLog;

// A picture loader that knows only the formats the engine keeps as they
// are: it hands back a file's bytes when they start like a PNG or JPEG file,
// and nothing for any other file. Records every call.
class FakePictureLoader final : public PictureLoader {
  public:
    explicit FakePictureLoader(CallLog& log) : log_(log) {}

    std::vector<std::uint8_t> LoadPicture(const std::u16string& path) override;

  private:
    CallLog& log_;
};

}  // namespace tavro::fake
