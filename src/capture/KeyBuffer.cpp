#include "capture/KeyBuffer.h"

namespace tavro {

namespace {

constexpr std::uint64_t kCapacityMask = (std::uint64_t{1} << KeyBuffer::kCapacity) - 1;
static_assert(KeyBuffer::kCapacity < 64);

}  // namespace

void KeyBuffer::Append(std::u16string_view entry, KeyOrigin origin) {
    text_ += entry;
    if (text_.size() > kCapacity) {
        text_.erase(0, text_.size() - kCapacity);
    }
    const std::size_t shift = entry.size() < kCapacity ? entry.size() : kCapacity;
    const std::uint64_t added =
        origin == KeyOrigin::Own ? (std::uint64_t{1} << shift) - 1 : std::uint64_t{0};
    ownMarks_ = ((ownMarks_ << shift) | added) & kCapacityMask;
}

void KeyBuffer::DropLast() {
    if (!text_.empty()) {
        text_.pop_back();
        ownMarks_ >>= 1;
    }
}

void KeyBuffer::Clear() {
    text_.clear();
    ownMarks_ = 0;
}

}  // namespace tavro
