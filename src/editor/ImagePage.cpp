#include "editor/ImagePage.h"

#include <QBuffer>
#include <QClipboard>
#include <QGridLayout>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>

#include "editor/DefaultPicture.h"
#include "editor/PageLayout.h"
#include "editor/SelectAllOnFocus.h"

namespace tavro {

namespace {

constexpr int kPreviewMargin = 6;

// What the preview says when it shows no picture.
QString NoPictureText(bool hasFile) {
    return hasFile ? QStringLiteral("This file holds no picture that Tavro can read.")
                   : QStringLiteral(
                         "No picture yet. Choose a picture file with \"...\", or make "
                         "one with New Image or Paste.");
}

// A Windows bitmap has no transparency: transparent parts become white, as
// on the page they are pasted into, rather than black.
std::string WindowsBitmap(const QImage& picture) {
    QImage opaque(picture.size(), QImage::Format_RGB32);
    opaque.setDotsPerMeterX(picture.dotsPerMeterX());
    opaque.setDotsPerMeterY(picture.dotsPerMeterY());
    opaque.fill(Qt::white);
    QPainter painter(&opaque);
    painter.drawImage(0, 0, picture);
    painter.end();
    QByteArray bytes;
    QBuffer file(&bytes);
    file.open(QIODevice::WriteOnly);
    opaque.save(&file, "BMP");
    return bytes.toStdString();
}

// A picture file's picture.
FileContent ReadPictureFile(const std::string& bytes, const std::u16string& path) {
    FileContent content;
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer source(&data);
    source.open(QIODevice::ReadOnly);
    QImageReader reader(&source);
    reader.setAutoTransform(true);
    content.picture = reader.read();
    if (content.picture.isNull()) {
        content.error = QStringLiteral("Cannot read %1: %2")
                            .arg(QString::fromStdU16String(path), reader.errorString())
                            .toStdU16String();
    }
    return content;
}

}  // namespace

ImagePage::ImagePage(ContentFileReader& files, QWidget* parent)
    : QWidget(parent),
      Label7(Named(new QLabel(QStringLiteral("Image File:"), this), "Label7")),
      txtImageFile(Named(new QLineEdit(this), "txtImageFile")),
      cmdLoadImage(Named(new QPushButton(QStringLiteral("..."), this), "cmdLoadImage")),
      picImage(Named(new QLabel, "picImage")),
      cmdNewImage(Named(new QPushButton(QStringLiteral("New Image"), this), "cmdNewImage")),
      cmdEditImage(Named(new QPushButton(QStringLiteral("Edit Image"), this), "cmdEditImage")),
      cmdPasteImage(Named(new QPushButton(QStringLiteral("Paste"), this), "cmdPasteImage")),
      cmdAlternateTextImg(
          Named(new QPushButton(QStringLiteral("Alternate"), this), "cmdAlternateTextImg")),
      cmdReloadImage(Named(new QPushButton(QStringLiteral("Refresh"), this), "cmdReloadImage")),
      preview_(*this, files, ReadPictureFile,
               [this](const FileContent& content, const std::u16string& path) {
                   DrawPreview(content, path);
               }) {
    SelectAllOnFocus(*txtImageFile);
    picImage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picImage->setMargin(kPreviewMargin);
    picImage->setWordWrap(true);
    picImage->setForegroundRole(QPalette::PlaceholderText);
    cmdEditImage->setEnabled(false);
    cmdReloadImage->hide();
    txtImageFile->setToolTip(QStringLiteral("The picture file that replaces the trigger"));
    cmdLoadImage->setToolTip(QStringLiteral("Choose a picture file"));
    cmdNewImage->setToolTip(
        QStringLiteral("Make a new bitmap file from a sample picture and open it in your "
                       "picture editor"));
    cmdEditImage->setToolTip(QStringLiteral("Open the picture in your picture editor"));
    cmdPasteImage->setToolTip(QStringLiteral("Save the picture you copied as a new bitmap file"));
    cmdAlternateTextImg->setToolTip(
        QStringLiteral("The plain text that applications on the Text Only list receive"));
    cmdReloadImage->setToolTip(QStringLiteral("Show the picture again after you saved it"));
    SetBrowseButtonWidth(*cmdLoadImage);
    // Larger pictures than the preview scroll.
    auto* preview = new QScrollArea(this);
    preview->setWidget(picImage);
    preview->setWidgetResizable(true);
    preview->setFocusPolicy(Qt::NoFocus);
    preview->setBackgroundRole(QPalette::Base);

    auto* layout = new QGridLayout(this);
    layout->addWidget(Label7, 0, 0);
    layout->addWidget(txtImageFile, 1, 0);
    layout->addWidget(cmdLoadImage, 1, 1);
    layout->addWidget(preview, 2, 0, 1, 2);
    layout->addLayout(ButtonColumn({cmdNewImage, cmdEditImage},
                                   {cmdPasteImage, cmdAlternateTextImg, cmdReloadImage}),
                      1, 2, 2, 1);
    layout->setRowStretch(2, 1);
    layout->setColumnStretch(0, 1);
}

std::optional<std::u16string> ImagePage::ShowContentFile(const std::u16string& path) {
    return preview_.Show(path);
}

QImage ImagePage::TriggerPicture() {
    const std::shared_ptr<const FileContent> content = preview_.Content();
    return content ? content->picture : QImage();
}

void ImagePage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    preview_.PageShown();
}

void ImagePage::DrawPreview(const FileContent& content, const std::u16string& path) {
    if (content.picture.isNull()) {
        picImage->setText(NoPictureText(!path.empty()));
    } else {
        picImage->setPixmap(QPixmap::fromImage(content.picture));
    }
}

void ImagePage::SetEditEnabled(bool enabled) {
    cmdEditImage->setEnabled(enabled);
}

void ImagePage::SetRefreshVisible(bool visible) {
    cmdReloadImage->setVisible(visible);
}

std::string ImagePage::ClipboardBitmap() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasImage()) {
        return {};
    }
    const QImage picture = qvariant_cast<QImage>(data->imageData());
    return picture.isNull() ? std::string() : ShowAsBitmap(picture);
}

std::string ImagePage::DefaultBitmap() {
    return ShowAsBitmap(DrawDefaultPicture());
}

std::string ImagePage::ShowAsBitmap(const QImage& picture) {
    preview_.ShowOther();
    picImage->setPixmap(QPixmap::fromImage(picture));
    return WindowsBitmap(picture);
}

}  // namespace tavro
