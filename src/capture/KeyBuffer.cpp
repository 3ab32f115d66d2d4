#include "capture/KeyBuffer.h"

#include "text/Utf16.h"

namespace tavro {

namespace {

constexpr std::uint64_t kCapacityMask = (std::uint64_t{1} << KeyBuffer::kCapacity) - 1;
static_assert(KeyBuffer::kCapacity < 64);

}  // namespace

void KeepLastUnits(std::u16string& text, std::size_t capacity) {
    if (text.size() > capacity) {
        text.erase(0, text.size() - capacity);
    }
    if (!text.empty() && IsLowSurrogate(text.front())) {
        text.erase(0, 1);
    }
}

void KeyBuffer::Append(std::u16string_view entry, KeyOrigin origin) {
    text_ += entry;
    KeepLastUnits(text_, kCapacity);
    const std::size_t shift = entry.size() < kCapacity ? entry.size() : kCapacity;
    const std::uint64_t added =
        origin == KeyOrigin::Own ? (std::uint64_t{1} << shift) - 1 : std::uint64_t{0};
    ownMarks_ = ((ownMarks_ << shift) | added) & kCapacityMask;
}

void KeyBuffer::DropLast() {
    const std::size_t units = text_.size() >= 2 && IsLowSurrogate(text_.back()) &&
                                      IsHighSurrogate(text_[text_.size() - 2])
                                  ? 2
                                  : 1;
    for (std::size_t i = 0; i < units && !text_.empty(); ++i) {
        text_.pop_back();
        ownMarks_ >>= 1;
    }
}

void KeyBuffer::Clear() {
    text_.clear();
    ownMarks_ = 0;
}

}  // namespace tavro
