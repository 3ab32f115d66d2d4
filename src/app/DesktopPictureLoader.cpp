#include "app/DesktopPictureLoader.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>

namespace tavro {

std::vector<std::uint8_t> DesktopPictureLoader::LoadPicture(const std::u16string& path) {
    QFile file(QString::fromStdU16String(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    QBuffer source;
    source.setData(bytes);
    QImageReader reader(&source);
    const QByteArray format = reader.format();
    const QImage image = reader.read();
    if (image.isNull()) {
        return {};
    }
    // PNG and JPEG files go into the document as they are: smaller than a
    // new encoding, and nothing is lost.
    if (format == "png" || format == "jpeg") {
        return {bytes.begin(), bytes.end()};
    }
    QByteArray png;
    QBuffer target(&png);
    target.open(QIODevice::WriteOnly);
    if (!image.save(&target, "PNG")) {
        return {};
    }
    return {png.begin(), png.end()};
}

}  // namespace tavro
