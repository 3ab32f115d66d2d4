#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/KeyboardHook.h"

namespace tavro {

// The last 50 characters typed, in the key-buffer vocabulary. It remembers
// which of them the program typed itself, so that its own output never
// completes a trigger.
class KeyBuffer {
  public:
    static constexpr std::size_t kCapacity = 50;

    const std::u16string& Text() const { return text_; }
    // Appends the entry and keeps the last 50 characters; a bracketed name
    // that does not fit is cut at the front, a character outside the Basic
    // Multilingual Plane is kept whole or not at all.
    void Append(std::u16string_view entry, KeyOrigin origin);
    // Drops the last character (also the ">" of a bracketed name; both
    // halves of a surrogate pair).
    void DropLast();
    void Clear();
    // Whether the last character came from the program's own key events.
    bool EndsWithOwnKey() const { return (ownMarks_ & 1U) != 0; }

  private:
    std::u16string text_;
    // Bit i set: the character i places from the end is the program's own.
    std::uint64_t ownMarks_ = 0;
};

// Keeps the last `capacity` UTF-16 units of the text, dropping a low
// surrogate that would be left at the front without its high one.
void KeepLastUnits(std::u16string& text, std::size_t capacity);

}  // namespace tavro
