#include "editor/ImagePage.h"

#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>

#include "editor/PageLayout.h"
#include "editor/SelectAllOnFocus.h"

namespace tavro {

ImagePage::ImagePage(QWidget* parent)
    : QWidget(parent),
      Label7(Named(new QLabel(QStringLiteral("Image File:"), this), "Label7")),
      txtImageFile(Named(new QLineEdit(this), "txtImageFile")),
      picImage(Named(new QLabel, "picImage")),
      cmdAlternateTextImg(
          Named(new QPushButton(QStringLiteral("Alternate"), this), "cmdAlternateTextImg")) {
    SelectAllOnFocus(*txtImageFile);
    picImage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    cmdAlternateTextImg->setToolTip(
        QStringLiteral("The plain text that applications on the Text Only list receive"));
    // Larger pictures than the preview scroll.
    auto* preview = new QScrollArea(this);
    preview->setWidget(picImage);
    preview->setWidgetResizable(true);
    preview->setFocusPolicy(Qt::NoFocus);
    preview->setBackgroundRole(QPalette::Base);

    auto* layout = new QGridLayout(this);
    layout->addWidget(Label7, 0, 0);
    layout->addWidget(txtImageFile, 1, 0);
    layout->addWidget(preview, 2, 0);
    layout->addLayout(ButtonColumn({}, {cmdAlternateTextImg}), 1, 1, 2, 1);
    layout->setRowStretch(2, 1);
    layout->setColumnStretch(0, 1);
}

void ImagePage::LoadTriggerPicture(const std::u16string& path) {
    picture_ = QImage();
    if (!path.empty()) {
        QImageReader reader(QString::fromStdU16String(path));
        reader.setAutoTransform(true);
        picture_ = reader.read();
    }
    picImage->setPixmap(picture_.isNull() ? QPixmap() : QPixmap::fromImage(picture_));
}

}  // namespace tavro
