#include "capture/KeyVocabulary.h"

#include <string_view>

namespace tavro {

namespace {

struct NamedKey {
    std::uint32_t keyCode;
    std::u16string_view entry;
};

constexpr NamedKey kNamedKeys[] = {
    {8, u"<back>"},      {9, u"<tab>"},   {13, u"<enter>"},  {27, u"<esc>"},    {33, u"<pageup>"},
    {34, u"<pagedown>"}, {35, u"<end>"},  {36, u"<home>"},   {37, u"<left>"},   {38, u"<up>"},
    {39, u"<right>"},    {40, u"<down>"}, {45, u"<insert>"}, {46, u"<delete>"}, {108, u"<enter>"},
};

constexpr std::u16string_view kUnshifted = u"`1234567890-=[];',./\\";
constexpr std::u16string_view kShifted = u"~!@#$%^&*()_+{}:\"<>?|";
static_assert(kUnshifted.size() == kShifted.size());

constexpr std::uint32_t kKeyF12 = 123;

}  // namespace

bool IsSilentKey(std::uint32_t keyCode) {
    return keyCode == kKeyNumLock || keyCode == kKeyCapsLock || keyCode == kKeyAlt ||
           keyCode == kKeyShift || keyCode == kKeyCtrl;
}

std::u16string NamedKeyEntry(std::uint32_t keyCode) {
    for (const NamedKey& key : kNamedKeys) {
        if (key.keyCode == keyCode) {
            return std::u16string(key.entry);
        }
    }
    if (keyCode >= kKeyF1 && keyCode <= kKeyF12) {
        std::u16string entry = u"<f";
        const std::uint32_t number = keyCode - (kKeyF1 - 1);
        if (number >= 10) {
            entry += static_cast<char16_t>(u'0' + number / 10);
        }
        entry += static_cast<char16_t>(u'0' + number % 10);
        entry += u'>';
        return entry;
    }
    return {};
}

char16_t ShiftedPartner(char16_t c) {
    const auto position = kUnshifted.find(c);
    return position == std::u16string_view::npos ? c : kShifted[position];
}

}  // namespace tavro
