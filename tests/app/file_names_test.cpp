// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QStringList>

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

TEST(SaveName, PngWhenChosenOrNamed) {
    EXPECT_EQ(withSaveExtension(QStringLiteral("drawing"), true), QStringLiteral("drawing.png"));
    EXPECT_EQ(withSaveExtension(QStringLiteral("drawing.PNG"), false), QStringLiteral("drawing.PNG"));
    EXPECT_EQ(withSaveExtension(QStringLiteral("drawing.png"), true), QStringLiteral("drawing.png"));
    EXPECT_EQ(withSaveExtension(QStringLiteral("a.jpeg"), false), QStringLiteral("a.jpeg.jpg"));
    EXPECT_EQ(withSaveExtension(QStringLiteral("a.jpg"), true), QStringLiteral("a.jpg.png"));
    EXPECT_TRUE(savesAsPng(QStringLiteral("x.Png"), false));
    EXPECT_FALSE(savesAsPng(QStringLiteral("x.jpg"), false));
}

TEST(CommandLine, ParameterFilesByExtensionEverythingElseAsAPicture) {
    EXPECT_EQ(argumentAction(QStringLiteral("PHOTO.JPEG")), ArgumentAction::OpenPicture);
    EXPECT_EQ(argumentAction(QStringLiteral("/tmp/x.jpg")), ArgumentAction::OpenPicture);
    EXPECT_EQ(argumentAction(QStringLiteral("Params.GTL")), ArgumentAction::LoadParameters);
    // The content decides: a BMP, a PNG, a file without an extension are all tried as pictures.
    EXPECT_EQ(argumentAction(QStringLiteral("photo.bmp")), ArgumentAction::OpenPicture);
    EXPECT_EQ(argumentAction(QStringLiteral("photo.png")), ArgumentAction::OpenPicture);
    EXPECT_EQ(argumentAction(QStringLiteral("/a.gtl/photo")), ArgumentAction::OpenPicture);
    EXPECT_EQ(argumentAction(QString()), ArgumentAction::None);
}

TEST(CommandLine, NamesOfThePicturesTheProgramReads) {
    for (const char* name : {"a.BMP", "a.jpeg", "a.png", "a.tif", "a.TIFF", "a.webp", "a.gif", "a.heic", "a.avif"})
        EXPECT_TRUE(isLoadablePictureName(QString::fromLatin1(name))) << name;
    EXPECT_FALSE(isLoadablePictureName(QStringLiteral("a.gtl")));
    EXPECT_FALSE(isLoadablePictureName(QStringLiteral("a")));
}

TEST(DialogFilter, TheOpenDialogListsEveryKindRead) {
    const QString filters = openDialogFilters(QStringLiteral("圖像檔案(*.bmp, *.jpg, *.jpeg)|*.BMP;*.JPG;*.JPEG"),
                                              QStringLiteral("Tous les fichiers (*)"));
    const QStringList entries = filters.split(QStringLiteral(";;"));
    ASSERT_GE(entries.size(), 5);
    EXPECT_TRUE(entries[0].startsWith(QStringLiteral("圖像檔案(*.jpg *.jpeg "))) << entries[0].toStdString();
    for (const char* p : {"*.png", "*.tif", "*.webp", "*.heic", "*.bmp"})
        EXPECT_TRUE(entries[0].contains(QString::fromLatin1(p))) << p;
    EXPECT_TRUE(entries.contains(QStringLiteral("TIFF (*.tif *.tiff)")));
    EXPECT_EQ(entries.last(), QStringLiteral("Tous les fichiers (*)"));
    EXPECT_EQ(saveDialogFilters(QStringLiteral("JPG圖像檔案(*.jpg, *.jpeg)|*.JPG; *.JPEG)"), QStringLiteral("PNG (*.png)")),
              QStringLiteral("JPG圖像檔案(*.jpg *.jpeg);;PNG (*.png)"));
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
