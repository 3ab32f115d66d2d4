#pragma once

#include <string_view>

namespace tavro {

// The four values of a trigger's Type field.
inline constexpr std::u16string_view kTypeText = u"Text";
inline constexpr std::u16string_view kTypeRTF = u"RTF";
inline constexpr std::u16string_view kTypeImage = u"Image";
inline constexpr std::u16string_view kTypeLaunch = u"Launch";

}  // namespace tavro
