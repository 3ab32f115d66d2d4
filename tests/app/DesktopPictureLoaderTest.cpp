#include <filesystem>

#include <QImage>

#include <gtest/gtest.h>

#include "app/DesktopPictureLoader.h"
#include "support/Files.h"
#include "support/TemporaryFolder.h"

namespace tavro {
namespace {

namespace fs = std::filesystem;

const fs::path kData = TAVRO_LEGEND_TEST_DATA;

// PNG and JPEG files are pasted as they are; GIF and bitmap files become
// PNG; what holds no picture gives nothing.
TEST(DesktopPictureLoader, KeepsPngAndJpegConvertsTheRestAndRefusesWhatIsNoPicture) {
    DesktopPictureLoader loader;
    const auto load = [&](const fs::path& path) { return loader.LoadPicture(path.u16string()); };
    for (const char* name : {"chart.png", "photo.jpg"}) {
        const std::string bytes = test::ReadFile(kData / name);
        EXPECT_EQ(load(kData / name), std::vector<std::uint8_t>(bytes.begin(), bytes.end()))
            << name;
    }
    const auto decoded = [&](const char* name) {
        const std::vector<std::uint8_t> png = load(kData / name);
        return QImage::fromData(png.data(), static_cast<int>(png.size()), "PNG");
    };
    EXPECT_EQ(decoded("logo.gif").size(), QSize(160, 48));
    const QImage bitmap = decoded("stripes.bmp");
    ASSERT_EQ(bitmap.size(), QSize(64, 32));
    EXPECT_EQ(bitmap.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(bitmap.pixel(20, 31), qRgb(0, 255, 0));

    test::TemporaryFolder folder("tavro-pictures");
    test::WriteFile(folder.Path() / "notes.gif", "GIF89a, or so it says");
    test::WriteFile(folder.Path() / "cut.png", test::ReadFile(kData / "chart.png").substr(0, 40));
    for (const fs::path& path : {folder.Path() / "notes.gif", folder.Path() / "cut.png",
                                 folder.Path() / "missing.bmp", folder.Path()}) {
        EXPECT_TRUE(load(path).empty()) << path;
    }
}

}  // namespace
}  // namespace tavro
