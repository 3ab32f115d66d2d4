#pragma once

#include <optional>
#include <string>

#include <QImage>
#include <QWidget>

#include "editing/ContentPageControls.h"
#include "editor/ContentPreview.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tavro {

class ContentFileReader;

// Page 2: the picture file of an "Image" trigger and TriggerPicture, the
// picture that firing pastes, drawn at the top left of the preview.
class ImagePage final : public QWidget, public ImagePageControls {
  public:
    // The picture files are read through `files`.
    explicit ImagePage(ContentFileReader& files, QWidget* parent = nullptr);

    // The picture of the file shown, as it is on disk now; empty without a
    // file, or when the file holds no picture.
    QImage TriggerPicture();
    ContentPreview& Preview() { return preview_; }

    // ImagePageControls. Showing a file makes its picture TriggerPicture;
    // "" or a file that cannot be read leaves it empty.
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

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // Shows the picture in the preview and returns it as a Windows bitmap.
    std::string ShowAsBitmap(const QImage& picture);
    void DrawPreview(const FileContent& content, const std::u16string& path);

    ContentPreview preview_;
};

}  // namespace tavro
