#pragma once

#include <string>

#include <QByteArray>
#include <QMimeData>
#include <QString>

namespace tavro {

// Clipboard content that can carry rich text: its RTF markup under the
// rich-text types, which come first, and for programs that read no RTF (web
// browsers, plain editors) HTML and plain text made from the markup. They
// are made when a program first asks for one of them, so that putting rich
// text on the clipboard costs no more than copying the markup.
class RichTextMimeData : public QMimeData {
  public:
    // Offers the markup under the rich-text types; HTML and plain text are
    // offered besides when the markup is RTF.
    void SetRichText(const std::string& rtf);

    QStringList formats() const override;

  protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

  private:
    void MakeAlternatives() const;

    std::string rtf_;  // empty unless the alternatives are offered
    mutable bool made_ = false;
    mutable QByteArray html_;
    mutable QString text_;
};

}  // namespace tavro
