#include <filesystem>
#include <fstream>

#include <QImage>

#include <gtest/gtest.h>

#include "app/DesktopPictureLoader.h"
#include "support/Files.h"
#include "support/TemporaryFolder.h"

namespace tavro {
namespace {

namespace fs = std::filesystem;

const fs::path kData = TAVRO_LEGEND_TEST_DATA;

std::vector<std::uint8_t> FileBytes(const fs::path& path) {
    const std::string bytes = test::ReadFile(path);
    return {bytes.begin(), bytes.end()};
}

QImage Decoded(const std::vector<std::uint8_t>& png) {
    return QImage::fromData(png.data(), static_cast<int>(png.size()), "PNG");
}

TEST(DesktopPictureLoader, KeepsPngAndJpegFilesAsTheyAre) {
    DesktopPictureLoader loader;
    for (const char* name : {"chart.png", "photo.jpg"}) {
        EXPECT_EQ(loader.LoadPicture((kData / name).u16string()), FileBytes(kData / name)) << name;
    }
}

TEST(DesktopPictureLoader, ConvertsGifAndBitmapFilesToPng) {
    DesktopPictureLoader loader;
    const QImage gif = Decoded(loader.LoadPicture((kData / "logo.gif").u16string()));
    EXPECT_EQ(gif.size(), QSize(160, 48));
    const QImage bitmap = Decoded(loader.LoadPicture((kData / "stripes.bmp").u16string()));
    ASSERT_EQ(bitmap.size(), QSize(64, 32));
    EXPECT_EQ(bitmap.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(bitmap.pixel(20, 31), qRgb(0, 255, 0));
    EXPECT_EQ(bitmap.pixel(63, 10), qRgb(255, 255, 255));
}

TEST(DesktopPictureLoader, GivesNothingForFilesThatHoldNoPicture) {
    test::TemporaryFolder folder("tavro-pictures");
    std::ofstream(folder.Path() / "notes.gif") << "GIF89a, or so it says";
    test::WriteFile(folder.Path() / "cut.png", test::ReadFile(kData / "chart.png").substr(0, 40));
    DesktopPictureLoader loader;
    for (const fs::path& path : {folder.Path() / "notes.gif", folder.Path() / "cut.png",
                                 folder.Path() / "missing.bmp", folder.Path()}) {
        EXPECT_TRUE(loader.LoadPicture(path.u16string()).empty()) << path;
    }
}

}  // namespace
}  // namespace tavro
