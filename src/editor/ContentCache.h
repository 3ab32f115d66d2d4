#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

#include <QFileSystemWatcher>
#include <QImage>
#include <QTimer>

namespace tavro {

class ContentFileReader;

// What a content file holds, ready to be put on the clipboard.
struct FileContent {
    // Why the file gave nothing: missing, unreadable, not of its kind; ""
    // when it was read.
    std::u16string error;
    // A rich-text file's content as RTF markup; "" when it holds nothing.
    std::string richText;
    // A picture file's picture.
    QImage picture;
};

// The content files of the triggers, read ahead so that firing a trigger
// reads no file: each is read when it is first asked for and again when it
// changes on disk, which a watch on the file and its folder notices (once
// the writing has paused for a moment, so that a file written in many
// pieces is read once).
// Asked for, a file is also compared with what was read (presence, size and
// time of its last change, no read), so that a change the watch has not yet
// reported is never missed.
//
// Costs the memory of one decoded content per file: the RTF markup of a
// rich-text file, the picture of a picture file.
class ContentCache {
  public:
    using Decode = std::function<FileContent(const std::string& bytes, const std::u16string& path)>;

    ContentCache(ContentFileReader& reader, Decode decode);

    // The file's content; read first when it is not known or has changed.
    // "" gives an empty content.
    std::shared_ptr<const FileContent> Content(const std::u16string& path);
    // Forgets every file but these.
    void Keep(const std::set<std::u16string>& paths);

    // Called with the path of a known file after it was read again because
    // it changed on disk.
    std::function<void(const std::u16string& path)> onChanged;

  private:
    // What identifies a version of a file without reading it.
    struct Stamp {
        bool exists = false;
        std::uintmax_t size = 0;
        std::filesystem::file_time_type changed;
        bool operator==(const Stamp&) const = default;
    };
    struct Entry {
        Stamp stamp;
        std::shared_ptr<const FileContent> content;
    };

    static Stamp StampOf(const std::u16string& path);
    std::shared_ptr<const FileContent> Read(const std::u16string& path, const Stamp& stamp);
    // Watches the file when it exists, and its folder.
    void Watch(const std::u16string& path, bool exists);
    // Known files in or at the paths where the watch saw changes are read
    // again when they changed.
    void ReadChanged();

    const std::shared_ptr<const FileContent> none_ = std::make_shared<const FileContent>();
    ContentFileReader& reader_;
    Decode decode_;
    std::map<std::u16string, Entry> entries_;
    QFileSystemWatcher watcher_;
    std::set<std::filesystem::path> changed_;
    QTimer settle_;
};

}  // namespace tavro
