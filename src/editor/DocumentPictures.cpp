#include "editor/DocumentPictures.h"

#include <QBuffer>
#include <QTextDocument>
#include <QUrl>

#include "richtext/BitmapPictures.h"

namespace tavro {

namespace {

QImage Decode(const Picture& picture) {
    QImage image;
    image.loadFromData(picture.data.data(), static_cast<int>(picture.data.size()),
                       picture.format == PictureFormat::Png ? "PNG" : "JPEG");
    return image;
}

Picture EncodePng(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    Picture picture;
    picture.format = PictureFormat::Png;
    picture.data.assign(bytes.begin(), bytes.end());
    picture.width = image.width();
    picture.height = image.height();
    return picture;
}

}  // namespace

QString DocumentPictures::Add(QTextDocument& document, const Picture& picture) {
    const QString name = QStringLiteral("tavro-picture:%1").arg(next_++);
    QImage image = Decode(picture);
    if (image.isNull()) {
        // Data the reader accepted by its header but Qt cannot decode.
        image = Decode(PlaceholderPicture(picture.width, picture.height));
    }
    document.addResource(QTextDocument::ImageResource, QUrl(name), image);
    pictures_.insert(name, picture);
    return name;
}

QString DocumentPictures::Add(QTextDocument& document, const QImage& image) {
    return Add(document, EncodePng(image));
}

Picture DocumentPictures::Find(const QTextDocument& document, const QString& name) const {
    if (const auto found = pictures_.constFind(name); found != pictures_.constEnd()) {
        return *found;
    }
    const QImage image =
        document.resource(QTextDocument::ImageResource, QUrl(name)).value<QImage>();
    if (image.isNull()) {
        return PlaceholderPicture(0, 0);  // an image name with nothing behind it
    }
    return EncodePng(image);
}

}  // namespace tavro
