// SPDX-License-Identifier: GPL-3.0-or-later
// Every window readable and usable by everyone: its texts fit their controls in each language, its
// text stays dark on the light paper on a desktop with a dark theme, and the toolbar is reached and
// pressed from the keyboard and named for screen readers.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTextDocument>
#include <cmath>

#include "app_test_support.h"
#include "dark_desktop.h"
#include "batch/batch_window.h"
#include "dialogs/about_window.h"
#include "dialogs/donation_window.h"
#include "dialogs/print_preview_window.h"
#include "dialogs/resize_window.h"
#include "dialogs/retouch_window.h"
#include "finishing/add_text_window.h"
#include "finishing/frames_window.h"
#include "mainwindow/startup.h"
#include "mainwindow/status_strip.h"
#include "ui/app_pictures.h"
#include "ui/widgets.h"
#include "version.h"

namespace gt {
namespace {

std::vector<QWidget*> secondaryWindows(const MainWindow& main) {
    const AppWindows& w = main.windows;
    return {w.batchWindow, w.aboutWindow, w.parameterWindow, w.framesWindow, w.printPreviewWindow, w.donationWindow, w.addTextWindow, w.resizeWindow, w.retouchWindow};
}

std::string where(const QWidget* window, const QWidget* control, Language language) {
    return (languageCode(language) + QLatin1Char(' ') + window->objectName() + QLatin1Char('.') + control->objectName() +
            QStringLiteral(" \"") + (qobject_cast<const QLabel*>(control) ? static_cast<const QLabel*>(control)->text() : QString()) +
            QLatin1Char('"')).toStdString();
}

// Whether a control shown in the window shows the whole of its text: labels and buttons measured
// with their own font against their own width, list entries against their box.
void expectTextsFit(QWidget* window, Language language) {
    for (QLabel* label : window->findChildren<QLabel*>()) {
        const QString text = label->text().trimmed();
        if (!label->isVisibleTo(window) || label->wordWrap() || text.isEmpty() || Qt::mightBeRichText(text)) continue;
        const QFontMetrics fm(label->font());
        const int room = label->contentsRect().width() - 2 * label->margin() - std::max(label->indent(), 0);
        EXPECT_LE(fm.horizontalAdvance(text), room) << where(window, label, language);
        EXPECT_LE(fm.height(), label->contentsRect().height()) << where(window, label, language);
    }
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        const QString text = button->text();
        if (!button->isVisibleTo(window) || text.trimmed().isEmpty()) continue;
        const QFontMetrics fm(button->font());
        // What the button needs besides its text (the box, the frame) is what its size hint adds to it.
        const int needed = qobject_cast<QPushButton*>(button) ? fm.horizontalAdvance(text.trimmed()) + 8
                                                             : button->sizeHint().width() - fm.horizontalAdvance(text) + fm.horizontalAdvance(text.trimmed());
        EXPECT_LE(needed, button->width()) << where(window, button, language) << ' ' << text.toStdString();
    }
    for (QGroupBox* group : window->findChildren<QGroupBox*>()) {
        if (!group->isVisibleTo(window)) continue;
        EXPECT_LE(QFontMetrics(group->font()).horizontalAdvance(group->title().trimmed()) + 16, group->width()) << where(window, group, language);
    }
    for (QComboBox* list : window->findChildren<QComboBox*>()) {
        if (!list->isVisibleTo(window)) continue;
        const QFontMetrics fm(list->font());
        for (int i = 0; i < list->count(); ++i)
            EXPECT_LE(fm.horizontalAdvance(list->itemText(i).trimmed()) + 30, list->width()) << where(window, list, language) << ' ' << i;
    }
    for (QMenuBar* bar : window->findChildren<QMenuBar*>())
        for (QAction* entry : bar->actions()) {
            const QRect place = bar->actionGeometry(entry);
            EXPECT_TRUE(!place.isEmpty() && place.right() < bar->width()) << where(window, bar, language) << ' ' << entry->text().toStdString();
        }
}

TEST(ReadableWindows, EveryTextFitsItsControlInEveryLanguage) {
    test::app();
    for (Language language : {Language::French, Language::Chinese, Language::English}) {
        auto main = createWindows(language);
        for (QWidget* window : secondaryWindows(*main)) {
            window->show();
            QCoreApplication::processEvents();
            expectTextsFit(window, language);
            // The title bar shows the whole title beside its buttons.
            if (window->minimumWidth() == window->maximumWidth()) {
                EXPECT_LE(QFontMetrics(window->font()).horizontalAdvance(window->windowTitle()) + 110, window->width())
                    << languageCode(language).toStdString() << ' ' << window->objectName().toStdString();
            }
            window->hide();
        }
        // The About notice's link of each language, and the notice itself, once opened.
        AboutWindow* about = main->windows.aboutWindow;
        about->show();
        QTest::mouseClick(language == Language::French ? about->Label3 : about->Label2, Qt::LeftButton);
        expectTextsFit(about, language);
        about->hide();
    }
}

double luminance(const QColor& c) {
    auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor averageOf(const QImage& picture) {
    double r = 0, g = 0, b = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            r += c.redF();
            g += c.greenF();
            b += c.blueF();
        }
    const double n = double(picture.width()) * picture.height();
    return QColor::fromRgbF(float(r / n), float(g / n), float(b / n));
}

TEST(ReadableWindows, OnADarkDesktopTheTiledWindowsKeepDarkTextOnTheirLightPaper) {
    QApplication& app = test::app();
    const QPalette desktop = app.palette();
    app.setPalette(test::darkDesktopPalette());
    {
        auto main = createWindows(Language::English);
        const QColor paper = averageOf(AppPictures::get().background());
        ASSERT_GT(luminance(paper), 0.5) << "the tile is light paper";
        for (QWidget* window : {static_cast<QWidget*>(main->windows.parameterWindow), static_cast<QWidget*>(main->windows.batchWindow)}) {
            window->show();
            QCoreApplication::processEvents();
            for (QWidget* control : window->findChildren<QWidget*>()) {
                if (!control->isVisibleTo(window)) continue;
                const QPalette& p = control->palette();
                const std::string name = control->objectName().toStdString();
                if (qobject_cast<QLabel*>(control) || qobject_cast<QCheckBox*>(control)) {
                    EXPECT_GE(contrast(p.color(control->foregroundRole()), paper), 4.5) << name;
                }
                if (qobject_cast<QLineEdit*>(control) || qobject_cast<QListWidget*>(control) || qobject_cast<QComboBox*>(control)) {
                    EXPECT_GE(contrast(p.color(QPalette::Text), p.color(QPalette::Base)), 4.5) << name;
                }
                if (qobject_cast<QPushButton*>(control)) {
                    EXPECT_GE(contrast(p.color(QPalette::ButtonText), p.color(QPalette::Button)), 4.5) << name;
                }
            }
            window->hide();
        }
        // The main window's white toolbar and status strip write in a dark colour too.
        QWidget* strip = main->statusStrip()->Label1;
        EXPECT_GE(contrast(strip->palette().color(QPalette::WindowText), Qt::white), 4.5);
    }
    app.setPalette(desktop);
}

TEST(ReadableWindows, TabReachesTheToolbarAndSpacePressesAButtonNamedForScreenReaders) {
    test::app();
    auto main = createWindows(Language::French);
    main->show();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    main->setZoom(50);
    PictureButton* fit = main->toolbarButton(QStringLiteral("Image16"));
    for (int tab = 0; tab < 40 && QApplication::focusWidget() != fit; ++tab)
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : main.get(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), fit);
    QTest::keyClick(fit, Qt::Key_Space);
    EXPECT_EQ(main->zoom(), 100);
    main->setZoom(50);
    QTest::keyClick(fit, Qt::Key_Return);
    EXPECT_EQ(main->zoom(), 100);

    const char* buttons[] = {"Image5", "Image6", "Image7", "Image8", "Image9", "Image11", "Image12",
                             "Image18", "Image14", "Image13", "Image21", "Image20"};
    for (Language language : {Language::French, Language::English}) {
        main->applyLanguage(language);
        for (const char* name : buttons) {
            PictureButton* button = main->toolbarButton(QString::fromLatin1(name));
            EXPECT_FALSE(button->accessibleName().isEmpty()) << name;
            EXPECT_EQ(button->accessibleName(), button->toolTip()) << name;
            QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(button);
            ASSERT_NE(seen, nullptr);
            EXPECT_EQ(seen->role(), QAccessible::Button) << name;
            EXPECT_EQ(seen->text(QAccessible::Name), button->toolTip()) << name;
        }
    }
    EXPECT_EQ(main->toolbarButton(QStringLiteral("Image11"))->accessibleName(), QStringLiteral("Revert to the original picture"));

    // The parameter window's check boxes and sliders have no text of their own: their captions name them.
    ParameterWindow* p = main->windows.parameterWindow;
    for (QWidget* control : p->findChildren<QWidget*>())
        if ((qobject_cast<QCheckBox*>(control) || qobject_cast<QSlider*>(control)) && control->isVisibleTo(p)) {
            QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(control);
            ASSERT_NE(seen, nullptr);
            EXPECT_FALSE(seen->text(QAccessible::Name).trimmed().isEmpty()) << control->objectName().toStdString();
        }
}

TEST(ReadableWindows, DialogsKeepTheirSizeAndShowWhatTheyHold) {
    test::app();
    auto main = createWindows(Language::English);
    // A dialog of one size offers no maximise button.
    const AppWindows& w = main->windows;
    for (QWidget* dialog : std::initializer_list<QWidget*>{w.aboutWindow, w.framesWindow, w.printPreviewWindow, w.donationWindow, w.addTextWindow, w.resizeWindow, w.retouchWindow}) {
        EXPECT_FALSE(dialog->windowFlags() & Qt::WindowMaximizeButtonHint) << dialog->objectName().toStdString();
        EXPECT_TRUE(dialog->windowFlags() & Qt::CustomizeWindowHint) << dialog->objectName().toStdString();
    }

    // The batch window keeps its height whatever its message says, from one showing to the next.
    BatchWindow* batch = w.batchWindow;
    batch->show();
    QCoreApplication::processEvents();
    const int height = batch->height();
    QTest::mouseClick(batch->Button5, Qt::LeftButton);  // an empty list: a message
    QCoreApplication::processEvents();
    EXPECT_EQ(batch->height(), height);
    batch->hide();
    batch->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(batch->height(), height);
    batch->hide();

    // The About window says which version this is.
    w.aboutWindow->show();
    EXPECT_TRUE(w.aboutWindow->Label4->isVisible());
    EXPECT_TRUE(w.aboutWindow->Label4->text().contains(QStringLiteral(GT_VERSION)));
    w.aboutWindow->hide();

    // Every amount of either donation list is seen whole, without scrolling.
    DonationWindow* donation = w.donationWindow;
    for (Language language : {Language::French, Language::English}) {
        main->applyLanguage(language);
        donation->show();
        QCoreApplication::processEvents();
        for (QListWidget* list : {donation->ListBox1, donation->ListBox2}) {
            if (!list->isVisible()) continue;
            const QRect seen = list->viewport()->rect();
            const QFontMetrics fm(list->font());
            for (int i = 0; i < list->count(); ++i) {
                EXPECT_TRUE(seen.contains(list->visualItemRect(list->item(i)))) << i;
                EXPECT_LE(fm.horizontalAdvance(list->item(i)->text()), seen.width()) << i;
            }
        }
        donation->hide();
    }
}

}  // namespace
}  // namespace gt
