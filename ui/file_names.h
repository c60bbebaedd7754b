#pragma once
// The file-name rules of the main window's commands, as plain functions.

#include <QString>

namespace gt {

// The save dialog's proposed name: "Graphitello - " and the opened file's name without its folder,
// or "Graphitello image.jpg" when nothing was opened.
QString defaultSaveName(const QString& openedFile);

// ".jpg" is appended unless the name's last four characters are exactly ".jpg" (case-sensitive:
// a.jpeg becomes a.jpeg.jpg, a.JPG becomes a.JPG.jpg).
QString withJpgExtension(const QString& name);

// What the first command-line argument asks for, by its lower-cased extension.
enum class ArgumentAction { None, OpenPicture, LoadParameters };
ArgumentAction argumentAction(const QString& argument);

// Whether LoadImageFile reads a file: .jpg, .jpeg and .bmp in any case.
bool isLoadablePictureName(const QString& name);

// The status text after a load: name - WxH.
QString pictureStatusText(const QString& name, int width, int height);

// The dialog filter of the old program ("text|pattern;pattern") as a Qt name filter, whose
// patterns the file dialog matches without regard to case.
QString qtNameFilter(const QString& legacyFilter);

}  // namespace gt
