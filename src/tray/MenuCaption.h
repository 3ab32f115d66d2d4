#pragma once

#include <string>

#include <QString>

namespace tavro {

// A menu entry's caption for a text: "&" shows as typed rather than marking
// a shortcut letter.
QString MenuCaption(const std::u16string& text);

}  // namespace tavro
