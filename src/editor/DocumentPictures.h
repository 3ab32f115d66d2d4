#pragma once

#include <QHash>
#include <QImage>
#include <QString>

#include "richtext/RichDocument.h"

class QTextDocument;

namespace tavro {

// The pictures of a QTextDocument with their encoded bytes, so that saving
// writes back the PNG or JPEG data that was loaded rather than a re-encoding.
// Pictures that arrive by other ways (a pasted bitmap) are encoded as PNG
// when they are saved.
class DocumentPictures {
  public:
    // Registers the picture as an image resource of the document and returns
    // the resource name to insert it with.
    QString Add(QTextDocument& document, const Picture& picture);
    // The same for a bitmap, kept as PNG.
    QString Add(QTextDocument& document, const QImage& image);

    // The picture behind an image name of the document.
    Picture Find(const QTextDocument& document, const QString& name) const;

    void Clear() { pictures_.clear(); }

  private:
    QHash<QString, Picture> pictures_;
    int next_ = 0;
};

}  // namespace tavro
