#include "editor/ContentCache.h"

#include <utility>
#include <vector>

#include "platform/ContentFileReader.h"

namespace tavro {

namespace {

constexpr int kSettleMilliseconds = 100;

}  // namespace

ContentCache::ContentCache(ContentFileReader& reader, Decode decode)
    : reader_(reader), decode_(std::move(decode)) {
    const auto noteChange = [this](const QString& path) {
        changed_.insert(std::filesystem::path(path.toStdU16String()));
        settle_.start();
    };
    QObject::connect(&watcher_, &QFileSystemWatcher::fileChanged, &watcher_, noteChange);
    QObject::connect(&watcher_, &QFileSystemWatcher::directoryChanged, &watcher_, noteChange);
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMilliseconds);
    QObject::connect(&settle_, &QTimer::timeout, &watcher_, [this] { ReadChanged(); });
}

ContentCache::Stamp ContentCache::StampOf(const std::u16string& path) {
    const std::filesystem::path file(path);
    std::error_code error;
    Stamp stamp;
    stamp.size = std::filesystem::file_size(file, error);
    if (error) {
        return {};
    }
    stamp.changed = std::filesystem::last_write_time(file, error);
    stamp.exists = !error;
    return stamp;
}

std::shared_ptr<const FileContent> ContentCache::Content(const std::u16string& path) {
    if (path.empty()) {
        return none_;
    }
    const Stamp stamp = StampOf(path);
    const auto known = entries_.find(path);
    if (known != entries_.end() && known->second.stamp == stamp) {
        return known->second.content;
    }
    return Read(path, stamp);
}

// The stamp is taken before the file is read: a change while it is read
// shows as a change the next time it is asked for.
std::shared_ptr<const FileContent> ContentCache::Read(const std::u16string& path,
                                                      const Stamp& stamp) {
    auto content = std::make_shared<FileContent>();
    if (const std::optional<std::string> bytes = reader_.ReadContentFile(path, content->error)) {
        *content = decode_(*bytes, path);
    }
    entries_[path] = {stamp, content};
    Watch(path, stamp.exists);
    return content;
}

// Editors save by writing a new file in place of the old one, which ends a
// watch on the file: the folder is watched too, and so is the folder of a
// file that is not there yet.
void ContentCache::Watch(const std::u16string& path, bool exists) {
    const std::filesystem::path file(path);
    QStringList paths{QString::fromStdU16String(file.parent_path().u16string())};
    if (exists) {
        paths.push_back(QString::fromStdU16String(path));
    }
    const QStringList watched = watcher_.files() + watcher_.directories();
    for (const QString& wanted : paths) {
        if (!wanted.isEmpty() && !watched.contains(wanted)) {
            watcher_.addPath(wanted);
        }
    }
}

void ContentCache::ReadChanged() {
    std::vector<std::pair<std::u16string, Stamp>> reread;
    for (const auto& [path, entry] : entries_) {
        const std::filesystem::path file(path);
        if (!changed_.contains(file) && !changed_.contains(file.parent_path())) {
            continue;
        }
        if (const Stamp stamp = StampOf(path); stamp != entry.stamp) {
            reread.emplace_back(path, stamp);
        }
    }
    changed_.clear();
    for (const auto& [path, stamp] : reread) {
        Read(path, stamp);
        if (onChanged) {
            onChanged(path);
        }
    }
}

void ContentCache::Keep(const std::set<std::u16string>& paths) {
    std::erase_if(entries_, [&](const auto& entry) { return !paths.contains(entry.first); });
    std::set<QString> folders;
    for (const std::u16string& path : paths) {
        folders.insert(
            QString::fromStdU16String(std::filesystem::path(path).parent_path().u16string()));
    }
    for (const QString& file : watcher_.files()) {
        if (!paths.contains(file.toStdU16String())) {
            watcher_.removePath(file);
        }
    }
    for (const QString& folder : watcher_.directories()) {
        if (!folders.contains(folder)) {
            watcher_.removePath(folder);
        }
    }
}

}  // namespace tavro
