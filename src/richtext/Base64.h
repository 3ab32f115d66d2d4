#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tavro {

// The bytes in Base64 (RFC 4648, with padding), as data: URLs carry them.
std::string EncodeBase64(std::span<const std::uint8_t> bytes);

}  // namespace tavro
