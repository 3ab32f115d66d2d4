#include "platform/fake/FakeContentFiles.h"

#include "platform/fake/CallLog.h"

namespace tavro::fake {

std::optional<std::string> FakeContentFiles::ReadContentFile(const std::u16string& path,
                                                             std::u16string& error) {
    log_.Record([&] { return FormatCall("ReadContentFile", {Quoted(path)}); });
    return disk_.ReadContentFile(path, error);
}

}  // namespace tavro::fake
