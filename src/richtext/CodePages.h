#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace tavro {

inline constexpr int kAnsiCodePage = 1252;

// The Windows code page an RTF font charset (\fcharsetN) stands for, or 0
// for charsets that name none (default, symbol, unknown).
int CharsetCodePage(int charset);

// The Windows code page of RTF's older document character sets.
inline constexpr int kMacCodePage = 10000;
inline constexpr int kPcCodePage = 437;
inline constexpr int kPcaCodePage = 850;

// Decodes bytes of one Windows code page into UTF-16. Code page 1252 is
// built in; the others use the platform's converter where it has one and
// fall back to 1252 where it does not. Bytes the converter cannot decode
// become U+FFFD.
class CodePageDecoder {
  public:
    explicit CodePageDecoder(int codePage);
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder&) = delete;
    CodePageDecoder& operator=(const CodePageDecoder&) = delete;

    void Decode(std::string_view bytes, std::u16string& out) const;

  private:
    struct Converter;
    std::unique_ptr<Converter> converter_;  // none: code page 1252
};

}  // namespace tavro
