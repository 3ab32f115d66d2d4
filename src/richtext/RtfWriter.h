#pragma once

#include <string>

#include "richtext/RichDocument.h"

namespace tavro {

// Writes the document as RTF that word processors accept: 7-bit output,
// \uN for every character beyond ASCII, PNG pictures as \pngblip and JPEG
// pictures as \jpegblip. ReadRtf reads it back to an equal document.
std::string WriteRtf(const Document& document);

}  // namespace tavro
