#pragma once

#include <QImage>

namespace tavro {

// The picture that New Image saves for an image trigger, for the user to
// draw over: 225 × 75 pixels, a framed card with the program's badge and
// the words "Your picture".
QImage DrawDefaultPicture();

}  // namespace tavro
