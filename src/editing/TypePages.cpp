#include "editing/TypePages.h"

#include "store/TriggerType.h"
#include "text/TextCase.h"

namespace tavro {

std::optional<int> PageForType(std::u16string_view type) {
    if (type == kTypeText) {
        return kTextPage;
    }
    if (type == kTypeRTF) {
        return kRichTextPage;
    }
    if (type == kTypeImage) {
        return kImagePage;
    }
    if (type == kTypeLaunch) {
        return kLaunchPage;
    }
    return std::nullopt;
}

bool HasAlternateText(std::u16string_view type) {
    return type == kTypeRTF || type == kTypeImage;
}

std::optional<std::u16string_view> TypeForLetter(char16_t letter) {
    switch (UpperCase(letter)) {
        case u'T':
            return kTypeText;
        case u'I':
            return kTypeImage;
        case u'R':
            return kTypeRTF;
        case u'L':
            return kTypeLaunch;
        default:
            return std::nullopt;
    }
}

}  // namespace tavro
