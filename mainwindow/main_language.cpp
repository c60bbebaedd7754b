// SPDX-License-Identifier: GPL-3.0-or-later
// The language switch: one pass over every window, in a fixed order, with the texts of one table.
#include "batch/batch_window.h"
#include "dialogs/about_window.h"
#include "dialogs/donation_window.h"
#include "dialogs/print_preview_window.h"
#include "dialogs/resize_window.h"
#include "dialogs/retouch_window.h"
#include "finishing/add_text_window.h"
#include "finishing/frames_window.h"
#include "mainwindow/main_window.h"
#include "mainwindow/qt_translations.h"
#include "ui/language.h"

namespace gt {

void MainWindow::switchToFrench() { applyLanguage(Language::French); }
void MainWindow::switchToChinese() { applyLanguage(Language::Chinese); }
void MainWindow::switchToEnglish() { applyLanguage(Language::English); }

void MainWindow::applyMenuTexts(const TextTable& table) {
    for (auto it = menuEntries_.cbegin(); it != menuEntries_.cend(); ++it)
        if (const auto caption = table.find(QStringLiteral("Form1.") + it.key())) it.value()->setText(*caption);
    // The zoom label shows the zoom; the switch only refreshes it.
    zoomLabel_->setText(QString::number(zoom_) + QStringLiteral(" %"));
    zoomLabel_->adjustSize();
}

// Toolbar buttons that stand for a menu command show its caption; the others have their own text.
void MainWindow::applyToolTips() {
    const TextTable& table = TextTable::of(language_);
    const struct { const char* button; const char* entry; } forEntries[] = {
        {"Image5", "Openpicture1"}, {"Image6", "Savepicture1"}, {"Image7", "Copierledessindanslepressepapier1"},
        {"Image8", "Colleruneimagedepuislepressepapier1"}, {"Image11", "Reverttooriginalsourceimage1"},
        {"Image12", "Sketchit1"}, {"Image14", "Imprimer1"}, {"Image13", "About2"}};
    for (const auto& f : forEntries)
        toolButtons_.value(QString::fromLatin1(f.button))->setToolTip(menuEntry(QString::fromLatin1(f.entry))->text());
    for (const char* own : {"Image9", "Image18", "Image20", "Image21"})
        if (const auto hint = table.find(QStringLiteral("Form1.%1.hint").arg(QLatin1String(own))))
            toolButtons_.value(QString::fromLatin1(own))->setToolTip(*hint);
    updateDrawingHint();
}

void MainWindow::updateDrawingHint() {
    drawingPane_->setToolTip(ShowDrawingHint && !Busy ? TextTable::of(language_).text(QStringLiteral("Form1.Image2.hint")) : QString());
}

void MainWindow::applyLanguage(Language language) {
    language_ = language;
    // Qt's own dialogs (files, colours, fonts, printing, message-box buttons) speak it too.
    useQtTranslations(language);
    const TextTable& table = TextTable::of(language);
    applyMenuTexts(table);                                                    // 1 and 3
    applyToolTips();                                                          // 2
    if (windows.batchWindow) windows.batchWindow->applyTexts(table, language);            // 4
    if (windows.aboutWindow) windows.aboutWindow->applyTexts(table, language);            // 5
    if (windows.parameterWindow) windows.parameterWindow->applyTexts(table, language);            // 6
    if (windows.framesWindow) windows.framesWindow->applyTexts(table, language);            // 7
    if (windows.printPreviewWindow) windows.printPreviewWindow->applyTexts(table, language);            // 8
    if (windows.donationWindow) windows.donationWindow->applyTexts(table, language);            // 9
    if (windows.addTextWindow) windows.addTextWindow->applyTexts(table, language);            // 10
    if (windows.resizeWindow) windows.resizeWindow->applyTexts(table, language);          // 11
    if (windows.retouchWindow) windows.retouchWindow->applyTexts(table, language);
    // 12: an open parameter window redraws with the new texts, as it does when shown.
    if (parameterWindowVisible()) {
        windows.parameterWindow->update();
        windows.parameterWindow->setPreviewTimer(kPreviewIntervalOnShow);
    }
}

}  // namespace gt
