#include "editor/ContentPreview.h"

#include <QTimer>
#include <QWidget>

namespace tavro {

ContentPreview::ContentPreview(QWidget& page, ContentFileReader& reader,
                               ContentCache::Decode decode, Draw draw)
    : page_(page), cache_(reader, std::move(decode)), draw_(std::move(draw)) {
    cache_.onChanged = [this](const std::u16string& path) {
        if (fromFile_ && path == path_) {
            content_ = cache_.Content(path_);
            DrawWhenSeen();
        }
    };
}

std::optional<std::u16string> ContentPreview::Show(const std::u16string& path) {
    path_ = path;
    fromFile_ = true;
    content_ = cache_.Content(path_);
    // Drawing a large file again costs as much as the first time.
    if (content_ == drawn_ && path_ == drawnPath_) {
        drawPending_ = false;
    } else if (drawLater_) {
        DrawWhenSeen();
    } else {
        DrawNow();
    }
    if (content_->error.empty()) {
        return std::nullopt;
    }
    return content_->error;
}

std::shared_ptr<const FileContent> ContentPreview::Content() {
    if (!fromFile_) {
        return nullptr;
    }
    std::shared_ptr<const FileContent> now = cache_.Content(path_);
    if (now != content_) {
        content_ = std::move(now);
        DrawWhenSeen();
    }
    return content_;
}

void ContentPreview::ShowOther() {
    fromFile_ = false;
    drawPending_ = false;
    drawn_.reset();
}

void ContentPreview::PageShown() {
    if (drawPending_) {
        DrawNow();
    }
}

void ContentPreview::Prepare(const std::set<std::u16string>& paths) {
    for (const std::u16string& path : paths) {
        cache_.Content(path);
    }
    std::set<std::u16string> kept = paths;
    kept.insert(path_);
    cache_.Keep(kept);
}

void ContentPreview::DrawNow() {
    drawPending_ = false;
    draw_(*content_, path_);
    drawn_ = content_;
    drawnPath_ = path_;
}

void ContentPreview::DrawWhenSeen() {
    if (drawPending_) {
        return;
    }
    drawPending_ = true;
    if (page_.isVisible()) {
        QTimer::singleShot(0, &page_, [this] { PageShown(); });
    }
}

}  // namespace tavro
