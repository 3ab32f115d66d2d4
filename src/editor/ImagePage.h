#pragma once

#include <optional>
#include <string>

#include <QImage>
#include <QWidget>

#include "editing/ContentPageControls.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tavro {

// Page 2: the picture file of an "Image" trigger and TriggerPicture, the
// picture that firing pastes, drawn at the top left of the preview.
class ImagePage final : public QWidget, public ImagePageControls {
  public:
    explicit ImagePage(QWidget* parent = nullptr);

    const QImage& TriggerPicture() const { return picture_; }

    // ImagePageControls. Showing a file releases TriggerPicture and loads it
    // from the file; "" or a file that cannot be read leaves it empty.
    std::optional<std::u16string> ShowContentFile(const std::u16string& path) override;
    void SetEditEnabled(bool enabled) override;
    void SetRefreshVisible(bool visible) override;
    std::string ClipboardBitmap() override;
    std::string DefaultBitmap() override;

    QLabel* const Label7;
    QLineEdit* const txtImageFile;
    QPushButton* const cmdLoadImage;
    QLabel* const picImage;
    QPushButton* const cmdNewImage;
    QPushButton* const cmdEditImage;
    QPushButton* const cmdPasteImage;
    QPushButton* const cmdAlternateTextImg;
    QPushButton* const cmdReloadImage;

  private:
    // Shows the picture in the preview and returns it as a Windows bitmap.
    std::string ShowAsBitmap(const QImage& picture);

    QImage picture_;
};

}  // namespace tavro
