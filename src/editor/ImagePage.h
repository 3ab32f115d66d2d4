#pragma once

#include <string>

#include <QImage>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tavro {

// Page 2: the picture file of an "Image" trigger and TriggerPicture, the
// picture that firing pastes, drawn at the top left of the preview.
class ImagePage final : public QWidget {
  public:
    explicit ImagePage(QWidget* parent = nullptr);

    // Releases TriggerPicture and loads it from the file; "" or a file that
    // cannot be read leaves it empty. The preview shows what it holds.
    void LoadTriggerPicture(const std::u16string& path);
    const QImage& TriggerPicture() const { return picture_; }

    QLabel* const Label7;
    QLineEdit* const txtImageFile;
    QLabel* const picImage;
    QPushButton* const cmdAlternateTextImg;

  private:
    QImage picture_;
};

}  // namespace tavro
