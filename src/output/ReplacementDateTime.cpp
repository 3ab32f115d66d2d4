#include "output/ReplacementDateTime.h"

#include <string_view>

#include "output/ReplacementTokens.h"

namespace tavro {

namespace {

std::u16string Number(int value) {
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value > 0);
    return digits;
}

void ReplaceFirst(std::u16string& text, std::u16string_view token, const std::u16string& value) {
    const auto position = text.find(token);
    if (position != std::u16string::npos) {
        text.replace(position, token.size(), value);
    }
}

}  // namespace

std::u16string FormatReplacementDate(const LocalTime& time) {
    static constexpr std::u16string_view kMonths[] = {u"Jan", u"Feb", u"Mar", u"Apr",
                                                      u"May", u"Jun", u"Jul", u"Aug",
                                                      u"Sep", u"Oct", u"Nov", u"Dec"};
    const int month = time.month >= 1 && time.month <= 12 ? time.month : 1;
    std::u16string date(kMonths[month - 1]);
    date += u' ';
    date += Number(time.day);
    date += u' ';
    date += Number(time.year);
    return date;
}

std::u16string FormatReplacementTime(const LocalTime& time) {
    const int hour = time.hour % 12 == 0 ? 12 : time.hour % 12;
    std::u16string text = Number(hour);
    text += u':';
    if (time.minute < 10) {
        text += u'0';
    }
    text += Number(time.minute);
    text += time.hour < 12 ? u" am" : u" pm";
    return text;
}

void ReplaceDateAndTime(std::u16string& text, const LocalTime& time) {
    ReplaceFirst(text, kTokenDate, FormatReplacementDate(time));
    ReplaceFirst(text, kTokenTime, FormatReplacementTime(time));
}

}  // namespace tavro
