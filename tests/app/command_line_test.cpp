// SPDX-License-Identifier: GPL-3.0-or-later
// "Copy as command line": the text the edit menu's entry copies, run by a shell that finds the
// built graphitello-cli first in its PATH, writes the bytes the window's save writes.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app_test_support.h"
#include "main_window_fixture.h"
#include "dialogs/resize_window.h"
#include "dialogs/retouch_window.h"
#include "imaging/io/picture_io.h"
#include "ui/file_names.h"
#include "ui/qt_bitmap.h"

namespace gt {
namespace {

class CommandLineTest : public test::MainWindowFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        // A folder whose name the shell must be given exactly.
        folder = dir.filePath(QStringLiteral("Jo's \"photos\" $HOME"));
        ASSERT_TRUE(QDir().mkpath(folder));
        photoPath = folder + QStringLiteral("/photo 1.jpg");
        // A resolution of its own, which the drawings carry.
        PictureMetadata metadata;
        metadata.dotsPerInchX = metadata.dotsPerInchY = 300;
        WriteOptions options;
        options.metadata = &metadata;
        ASSERT_TRUE(writePicture(test::testPhoto(160, 120), localPath(photoPath), nullptr, options));
        MainWindowFixture::SetUp();
        main->showMessage = [](const QString& m) { ADD_FAILURE() << m.toStdString(); };
        ASSERT_TRUE(main->openPictureFile(photoPath));
    }

    // Keys go to the main window, as when a person clicks it first.
    void activateMain() {
        main->windows.parameterWindow->hide();
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    }
    void press(int key, Qt::KeyboardModifiers modifiers) {
        activateMain();
        QTest::keyClick(main.get(), Qt::Key(key), modifiers);
    }
    bool waitForStep() {
        if (!main->sourceJobRunning()) return true;
        QSignalSpy done(main.get(), &MainWindow::sourceStepFinished);
        return done.wait(60000);
    }
    QString copiedCommandLine() {
        QGuiApplication::clipboard()->clear();
        press(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        return QGuiApplication::clipboard()->text();
    }

    // Runs the text with sh, the command line first in PATH; the drawing it wrote where the save
    // command proposes, then the window's own save, byte for byte.
    void expectSameBytesAsTheSave(const QString& command) {
        QProcess shell;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PATH"), QFileInfo(QStringLiteral(GT_CLI_PATH)).absolutePath() + QLatin1Char(':') +
                                                       environment.value(QStringLiteral("PATH")));
        shell.setProcessEnvironment(environment);
        shell.setWorkingDirectory(dir.path());
        shell.start(QStringLiteral("sh"), {QStringLiteral("-c"), command});
        ASSERT_TRUE(shell.waitForFinished(120000));
        ASSERT_EQ(shell.exitCode(), 0) << command.toStdString() << "\n" << shell.readAllStandardError().toStdString();

        const QString saved = dir.filePath(QStringLiteral("saved by the window.jpg"));
        ASSERT_TRUE(main->saveDrawing(saved));
        QFile ours(folder + QStringLiteral("/Graphitello - photo 1.jpg"));
        QFile theirs(saved);
        ASSERT_TRUE(ours.open(QIODevice::ReadOnly)) << command.toStdString();
        ASSERT_TRUE(theirs.open(QIODevice::ReadOnly));
        const QByteArray a = ours.readAll();
        EXPECT_GT(a.size(), 1000);
        EXPECT_TRUE(a == theirs.readAll()) << command.toStdString();
    }

    QTemporaryDir dir;
    QString folder;
    QString photoPath;
};

TEST_F(CommandLineTest, WithoutSourceStepsOneRenderingMakesTheDrawing) {
    ParameterWindow* parameters = main->windows.parameterWindow;
    parameters->chooseStyle(int(DrawingStyle::PencilDrawingColour));
    parameters->loadStyleSliders();
    QTest::keyClick(parameters->sliders[kSlotTrackBar1], Qt::Key_PageUp);
    main->windows.framesWindow->settings.style = kFrameLined;
    main->windows.framesWindow->settings.margin = 12;
    TextSettings& text = main->windows.addTextWindow->settings;
    text.text = "Jo's cat";
    text.shadow = true;
    text.underline = true;
    text.position = kPlaceTopLeft;
    QTest::keyClick(parameters->CheckBox4, Qt::Key_Space);
    ASSERT_TRUE(parameters->CheckBox4->isChecked());
    // Before any rendering the pane shows the photo, which no rendering made.
    EXPECT_TRUE(copiedCommandLine().startsWith(QStringLiteral("# "))) << copiedCommandLine().toStdString();
    ASSERT_TRUE(sketchAndWait());

    const QString command = copiedCommandLine();
    EXPECT_TRUE(command.startsWith(QStringLiteral("graphitello-cli render --style pencil-colour "))) << command.toStdString();
    EXPECT_FALSE(command.contains(QLatin1Char('|')));
    EXPECT_FALSE(command.contains(QLatin1Char('\n')));
    EXPECT_TRUE(command.contains(QStringLiteral("--underline")));
    expectSameBytesAsTheSave(command);

    // The drawing taken as the photo (F12) is its rendering, chained before the next one.
    press(Qt::Key_F12, {});
    ASSERT_TRUE(sketchAndWait());
    const QString chained = copiedCommandLine();
    EXPECT_TRUE(chained.startsWith(QStringLiteral("graphitello-cli render --style pencil-colour "))) << chained.toStdString();
    EXPECT_EQ(chained.count(QStringLiteral("| graphitello-cli render ")), 1);
    expectSameBytesAsTheSave(chained);
}

// A drawing made between the changes sizes the next one's paint dabs: past 750 pixels of width and
// height together the second painting's brush grows, which the command line must say.
TEST_F(CommandLineTest, SourceStepsChainThroughLosslessPictures) {
    ParameterWindow* parameters = main->windows.parameterWindow;
    parameters->chooseStyle(int(DrawingStyle::Painting2));
    parameters->loadStyleSliders();  // as the preview does, before a person can reach the sliders
    QTest::keyClick(parameters->sliders[kSlotTrackBar2], Qt::Key_Home);  // the most dabs
    press(Qt::Key_F4, Qt::ControlModifier);  // brightness
    ASSERT_TRUE(waitForStep());
    ResizeWindow* resize = main->windows.resizeWindow;
    main->openResizeWindow();
    resize->Edit3->clear();
    QTest::keyClicks(resize->Edit3, QStringLiteral("110"));
    QTest::keyClick(resize->Edit1, Qt::Key_Return);
    ASSERT_TRUE(waitForStep());
    ASSERT_EQ(main->SourceWidth, 176);
    press(Qt::Key_F3, Qt::ControlModifier);  // saturation, taken back
    ASSERT_TRUE(waitForStep());
    press(Qt::Key_Backspace, Qt::AltModifier);
    ASSERT_TRUE(waitForStep());
    ASSERT_TRUE(sketchAndWait());

    RetouchWindow* retouch = main->windows.retouchWindow;
    main->openRetouchWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(retouch));
    QSlider* contrast = retouch->TrackBars[1];
    QTest::mouseClick(contrast, Qt::LeftButton, {}, QPoint(contrast->width() - 6, contrast->height() / 2));
    QTest::mouseClick(retouch->Button2, Qt::LeftButton);
    ASSERT_TRUE(waitForStep());
    ASSERT_EQ(main->sourceRecipe().size(), 3u);
    ASSERT_TRUE(sketchAndWait());

    const QString command = copiedCommandLine();
    EXPECT_TRUE(command.startsWith(QStringLiteral("graphitello-cli adjust brightness --format bmp '"))) << command.toStdString();
    EXPECT_TRUE(command.contains(QStringLiteral(" - | graphitello-cli adjust resize --size 176x132 --format bmp - - | ")));
    EXPECT_FALSE(command.contains(QStringLiteral("saturation")));
    EXPECT_TRUE(command.contains(QStringLiteral("--brush-precision 0 ")));
    EXPECT_TRUE(command.contains(QStringLiteral("--drawing-size 4")));
    expectSameBytesAsTheSave(command);
}

TEST_F(CommandLineTest, APastedPictureIsSaidNotPretended) {
    QGuiApplication::clipboard()->setImage(toQImage(test::testPhoto(90, 60)));
    press(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(main->SourceWidth, 90);
    ASSERT_TRUE(sketchAndWait());
    const QString command = copiedCommandLine();
    EXPECT_EQ(command, QStringLiteral("# Aucune ligne de commande ne refait ce dessin : une image collée depuis le presse-papier "
                                      "n'a pas d'étape en ligne de commande."));
    EXPECT_TRUE(main->statusStrip()->Notice->isVisible());
}

}  // namespace
}  // namespace gt
