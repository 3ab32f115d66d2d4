#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "editor/ContentCache.h"

class QWidget;

namespace tavro {

// The content file that a page shows (the rich-text page, the image page):
// its content, which firing delivers, comes from the content cache; the
// page draws it at once, or, while the trigger shown is being fired, once
// the firing is over and the page is seen.
class ContentPreview {
  public:
    // `draw` draws the content of the file at the path on the page ("": no
    // file).
    using Draw = std::function<void(const FileContent& content, const std::u16string& path)>;

    ContentPreview(QWidget& page, ContentFileReader& reader, ContentCache::Decode decode,
                   Draw draw);

    // Shows the file ("" shows none). The error's description when the file
    // cannot be read or is not of its kind.
    std::optional<std::u16string> Show(const std::u16string& path);
    // The content of the file shown, as it is on disk now; none while the
    // page shows something that comes from no file.
    std::shared_ptr<const FileContent> Content();
    // The page shows something else in place of the file.
    void ShowOther();
    // While set, files shown are drawn only after the events at hand, and
    // on a page out of sight when it is next seen.
    void SetDrawLater(bool later) { drawLater_ = later; }
    // The page came into sight.
    void PageShown();
    // Reads the files ahead, and forgets all others but the one shown.
    void Prepare(const std::set<std::u16string>& paths);

  private:
    void DrawNow();
    void DrawWhenSeen();

    QWidget& page_;
    ContentCache cache_;
    Draw draw_;
    std::u16string path_;
    std::shared_ptr<const FileContent> content_ = std::make_shared<const FileContent>();
    // What the page shows now.
    std::shared_ptr<const FileContent> drawn_;
    std::u16string drawnPath_;
    bool fromFile_ = true;
    bool drawLater_ = false;
    bool drawPending_ = false;
};

}  // namespace tavro
