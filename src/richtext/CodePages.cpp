#include "richtext/CodePages.h"

#include <string>

#include "text/AnsiCodePage.h"

#ifdef TAVRO_HAVE_ICONV
#include <iconv.h>

#include <cerrno>
#endif

namespace tavro {

namespace {

constexpr char16_t kReplacement = u'\uFFFD';

void DecodeAnsi(std::string_view bytes, std::u16string& out) {
    for (char b : bytes) {
        out += AnsiCharacter(static_cast<std::uint8_t>(b));
    }
}

}  // namespace

int CharsetCodePage(int charset) {
    switch (charset) {
        case 0:
            return kAnsiCodePage;
        case 77:
            return kMacCodePage;
        case 128:
            return 932;  // Shift JIS
        case 129:
            return 949;  // Hangul
        case 130:
            return 1361;  // Johab
        case 134:
            return 936;  // GB 2312
        case 136:
            return 950;  // Big5
        case 161:
            return 1253;  // Greek
        case 162:
            return 1254;  // Turkish
        case 163:
            return 1258;  // Vietnamese
        case 177:
            return 1255;  // Hebrew
        case 178:
            return 1256;  // Arabic
        case 186:
            return 1257;  // Baltic
        case 204:
            return 1251;  // Cyrillic
        case 222:
            return 874;  // Thai
        case 238:
            return 1250;  // Eastern European
        case 254:
            return kPcCodePage;
        default:
            return 0;
    }
}

#ifdef TAVRO_HAVE_ICONV

struct CodePageDecoder::Converter {
    iconv_t handle;
};

namespace {

std::string IconvName(int codePage) {
    switch (codePage) {
        case 936:
            return "GBK";
        case 1361:
            return "JOHAB";
        case kMacCodePage:
            return "MACINTOSH";
        default:
            return "CP" + std::to_string(codePage);
    }
}

}  // namespace

CodePageDecoder::CodePageDecoder(int codePage) {
    if (codePage == kAnsiCodePage) {
        return;
    }
    const iconv_t handle = iconv_open("UTF-16LE", IconvName(codePage).c_str());
    if (handle != reinterpret_cast<iconv_t>(-1)) {
        converter_ = std::make_unique<Converter>(Converter{handle});
    }
}

CodePageDecoder::~CodePageDecoder() {
    if (converter_) {
        iconv_close(converter_->handle);
    }
}

void CodePageDecoder::Decode(std::string_view bytes, std::u16string& out) const {
    if (!converter_) {
        DecodeAnsi(bytes, out);
        return;
    }
    iconv(converter_->handle, nullptr, nullptr, nullptr, nullptr);
    std::string input(bytes);
    char* in = input.data();
    std::size_t inLeft = input.size();
    char buffer[512];
    while (inLeft > 0) {
        char* outAt = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(converter_->handle, &in, &inLeft, &outAt, &outLeft);
        const int error = result == static_cast<std::size_t>(-1) ? errno : 0;
        for (const char* p = buffer; p + 1 < outAt; p += 2) {
            out += static_cast<char16_t>(static_cast<unsigned char>(p[0]) |
                                         (static_cast<unsigned char>(p[1]) << 8));
        }
        if (error == EILSEQ || error == EINVAL) {
            out += kReplacement;  // an undefined or incomplete sequence
            ++in;
            --inLeft;
            iconv(converter_->handle, nullptr, nullptr, nullptr, nullptr);
        } else if (error != 0 && error != E2BIG) {
            break;
        }
    }
}

#else

struct CodePageDecoder::Converter {};

CodePageDecoder::CodePageDecoder(int) {}

CodePageDecoder::~CodePageDecoder() = default;

void CodePageDecoder::Decode(std::string_view bytes, std::u16string& out) const {
    DecodeAnsi(bytes, out);
}

#endif

}  // namespace tavro
