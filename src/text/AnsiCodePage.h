#pragma once

#include <cstdint>

namespace tavro {

// The character with the given code in the Windows ANSI code page 1252.
// Codes without a character there (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep their
// code as a C1 control, as Windows converts them.
char16_t AnsiCharacter(std::uint8_t code);

}  // namespace tavro
