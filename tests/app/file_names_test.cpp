#include <gtest/gtest.h>

#include "ui/file_names.h"

namespace gt {
namespace {

TEST(SaveName, DefaultNameFollowsTheOpenedFile) {
    EXPECT_EQ(defaultSaveName(QString()), QStringLiteral("Graphitello image.jpg"));
    EXPECT_EQ(defaultSaveName(QStringLiteral("/home/me/photos/a.jpg")), QStringLiteral("Graphitello - a.jpg"));
}

TEST(SaveName, JpgIsAppendedUnlessTheNameEndsInExactlyDotJpg) {
    EXPECT_EQ(withJpgExtension(QStringLiteral("drawing")), QStringLiteral("drawing.jpg"));
    EXPECT_EQ(withJpgExtension(QStringLiteral("drawing.jpg")), QStringLiteral("drawing.jpg"));
    EXPECT_EQ(withJpgExtension(QStringLiteral("a.jpeg")), QStringLiteral("a.jpeg.jpg"));
    EXPECT_EQ(withJpgExtension(QStringLiteral("a.JPG")), QStringLiteral("a.JPG.jpg"));
}

TEST(CommandLine, ExtensionDecidesLowerCased) {
    EXPECT_EQ(argumentAction(QStringLiteral("PHOTO.JPEG")), ArgumentAction::OpenPicture);
    EXPECT_EQ(argumentAction(QStringLiteral("/tmp/x.jpg")), ArgumentAction::OpenPicture);
    EXPECT_EQ(argumentAction(QStringLiteral("Params.GTL")), ArgumentAction::LoadParameters);
    EXPECT_EQ(argumentAction(QStringLiteral("photo.bmp")), ArgumentAction::None);
    EXPECT_EQ(argumentAction(QStringLiteral("photo.png")), ArgumentAction::None);
    EXPECT_EQ(argumentAction(QString()), ArgumentAction::None);
    // A dot in a folder name is not an extension.
    EXPECT_EQ(argumentAction(QStringLiteral("/a.jpg/photo")), ArgumentAction::None);
}

TEST(CommandLine, DroppedFilesLoadOnlyPicturesTheProgramReads) {
    EXPECT_TRUE(isLoadablePictureName(QStringLiteral("a.BMP")));
    EXPECT_TRUE(isLoadablePictureName(QStringLiteral("a.jpeg")));
    EXPECT_FALSE(isLoadablePictureName(QStringLiteral("a.png")));
}

TEST(StatusText, NameDashWidthByHeight) {
    EXPECT_EQ(pictureStatusText(QStringLiteral("C:\\a.jpg"), 800, 600), QStringLiteral("C:\\a.jpg - 800x600"));
}

TEST(DialogFilter, LegacyFilterBecomesAQtFilter) {
    EXPECT_EQ(qtNameFilter(QStringLiteral("圖像檔案(*.bmp, *.jpg, *.jpeg)|*.BMP;*.JPG;*.JPEG")),
              QStringLiteral("圖像檔案(*.bmp *.jpg *.jpeg)"));
    EXPECT_EQ(qtNameFilter(QStringLiteral("JPG圖像檔案(*.jpg, *.jpeg)|*.JPG; *.JPEG)")), QStringLiteral("JPG圖像檔案(*.jpg *.jpeg)"));
    EXPECT_EQ(qtNameFilter(QStringLiteral("Graphitello參數檔案(*.gtl)|*.gtl")), QStringLiteral("Graphitello參數檔案(*.gtl)"));
}

}  // namespace
}  // namespace gt
