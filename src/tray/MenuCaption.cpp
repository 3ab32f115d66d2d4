#include "tray/MenuCaption.h"

namespace tavro {

QString MenuCaption(const std::u16string& text) {
    return QString::fromStdU16String(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace tavro
