// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file-name rules of the main window's commands, as plain functions.

#include <QString>
#include <string>

namespace gt {

// The save dialog's proposed name: "Graphitello - " and the opened file's name without its folder,
// or "Graphitello image.jpg" when nothing was opened.
QString defaultSaveName(const QString& openedFile);

// ".jpg" is appended unless the name's last four characters are exactly ".jpg" (case-sensitive:
// a.jpeg becomes a.jpeg.jpg, a.JPG becomes a.JPG.jpg).
QString withJpgExtension(const QString& name);

// A name the save command writes as PNG: the PNG entry of the dialog was chosen, or the name ends
// in ".png" in any case (".png" appended in the first case when missing). Every other name keeps
// the JPEG rule above.
QString withSaveExtension(const QString& name, bool pngChosen);
bool savesAsPng(const QString& name, bool pngChosen);

// What the first command-line argument asks for: a ".gtl" file (any case) is a parameter file,
// anything else is tried as a picture, whose content decides whether it is one.
enum class ArgumentAction { None, OpenPicture, LoadParameters };
ArgumentAction argumentAction(const QString& argument);

// Whether the name's extension is one of the kinds the loader reads (the open dialog's patterns).
// The loader itself goes by the content, so a picture with another name opens as well.
bool isLoadablePictureName(const QString& name);

// The open dialog's filters: the first entry with the given text and the patterns of every kind the
// program reads, then one entry per kind, then every file.
QString openDialogFilters(const QString& legacyFirstEntry, const QString& allFilesEntry);
// The save dialog's filters: the JPEG entry as given, then PNG.
QString saveDialogFilters(const QString& legacyJpegEntry, const QString& pngEntry);

// A file name as the file routines take it (the system's own encoding), and back.
std::string localPath(const QString& path);
QString fromLocalPath(const std::string& path);

// The status text after a load: name - WxH.
QString pictureStatusText(const QString& name, int width, int height);

// The dialog filter of the old program ("text|pattern;pattern") as a Qt name filter, whose
// patterns the file dialog matches without regard to case.
QString qtNameFilter(const QString& legacyFilter);

}  // namespace gt
