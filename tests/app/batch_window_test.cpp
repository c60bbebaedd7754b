// SPDX-License-Identifier: GPL-3.0-or-later
// The batch window driven through the real main window with clicks and keys: the run, its cancel,
// the names, the failures in the interface language, the destination box, and the same bytes as
// the command line's batch.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <sstream>

#include "app_test_support.h"
#include "batch/batch_window.h"
#include "cli/cli.h"
#include "imaging/io/picture_io.h"
#include "mainwindow/startup.h"
#include "mainwindow/status_strip.h"

namespace gt {
namespace {

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class BatchWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::app(); }
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QDir(dir.path()).mkdir(QStringLiteral("out"));
        out = dir.filePath(QStringLiteral("out"));
        main = createWindows(Language::French);
        main->showMessage = [this](const QString& m) { messages << m; };
        main->resize(900, 600);
        main->show();
        batch = main->windows.batchWindow;
        batch->showReport = [this](const QString& r) { reports << r; };
        batch->askExisting = [this](int count) {
            asked << count;
            return answer;
        };
        batch->askCreateFolder = [this](const QString& folder) {
            askedToCreate << folder;
            return createAnswer;
        };
        main->openBatchWindow();
        ASSERT_TRUE(batch->isVisible());
        main->windows.parameterWindow->chooseStyle(1);  // the grey pencil: it draws from the generator
    }
    QString photo(const char* name, int width, int height) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(writePicture(test::testPhoto(width, height), path.toStdString()));
        return path;
    }
    // Starts the run and, as a user would, presses "Sketch" in the parameter window it shows.
    bool runAndWait() {
        QSignalSpy ended(batch, &BatchWindow::runEnded);
        QTimer sketch;
        QObject::connect(&sketch, &QTimer::timeout, [this, &sketch] {
            if (!main->windows.parameterWindow->isVisible()) return;
            sketch.stop();
            sourceWhenChoosing = main->sourceImage();
            QTest::mouseClick(main->windows.parameterWindow->Button1, Qt::LeftButton);
        });
        sketch.start(20);
        QTest::mouseClick(batch->Button5, Qt::LeftButton);
        return ended.count() > 0 || ended.wait(120000);
    }
    // Types a folder into the destination box and leaves it with Tab.
    void typeDestination(const QString& folder) {
        batch->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(batch));
        batch->Edit1->setFocus();
        batch->Edit1->selectAll();
        QTest::keyClick(batch->Edit1, Qt::Key_Delete);
        QTest::keyClicks(batch->Edit1, folder);
        QTest::keyClick(batch->Edit1, Qt::Key_Tab);
    }
    QString output(const char* name) const { return out + QStringLiteral("/Graphitello - ") + QString::fromLatin1(name); }

    QTemporaryDir dir;
    QString out;
    std::unique_ptr<MainWindow> main;
    BatchWindow* batch = nullptr;
    QStringList messages, reports, askedToCreate;
    QList<int> asked;
    ExistingDrawings answer = ExistingDrawings::Skip;
    MissingFolder createAnswer = MissingFolder::Keep;
    Bitmap sourceWhenChoosing;
};

TEST_F(BatchWindowTest, DrawsEveryPhotoAsTheCommandLineDoesAndListsTheFailures) {
    const QString a = photo("a.jpg", 90, 70), b = photo("b.png", 70, 90), clash = photo("a.bmp", 60, 60);
    const QString broken = dir.filePath(QStringLiteral("broken.bmp"));
    std::ofstream(broken.toStdString()) << "BM";
    // The add dialog offers every kind the loader reads, and keeps what was chosen whatever its kind.
    QString filter;
    batch->chooseFiles = [&](const QString& offered) {
        filter = offered;
        return QStringList{broken, clash, a, b, a};
    };
    QTest::mouseClick(batch->Button1, Qt::LeftButton);
    for (const char* pattern : {"*.jpg", "*.jpeg", "*.png", "*.bmp", "*.tif"})
        EXPECT_TRUE(filter.contains(QString::fromLatin1(pattern))) << pattern << " " << filter.toStdString();
    EXPECT_EQ(batch->files().size(), 4);  // a photo listed twice is listed once
    // An edit made before the run: the batch's photos start a new history.
    main->sourceHistory().record(Bitmap(5, 5));
    // Typed by hand, without the final separator.
    typeDestination(out);
    ASSERT_TRUE(runAndWait());
    // The style was chosen on the first photo that could be read, not on the photo from before.
    EXPECT_EQ(sourceWhenChoosing, readPicture(clash.toStdString()));

    EXPECT_FALSE(batch->isVisible());
    EXPECT_EQ(batch->ListBox1->count(), 0);
    EXPECT_FALSE(main->Busy);
    EXPECT_FALSE(main->CancelRequested.load());
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
    // Always JPEG, named .jpg; the good a.jpg keeps its name whatever comes before it.
    EXPECT_EQ(QDir(out).entryList(QDir::Files),
              (QStringList{QStringLiteral("Graphitello - a.bmp.jpg"), QStringLiteral("Graphitello - a.jpg"), QStringLiteral("Graphitello - b.jpg")}));
    EXPECT_EQ(readPicture(output("b.jpg").toStdString()).width() > 70, true);
    // The failure in the interface language, naming the photo.
    ASSERT_EQ(batch->failures().size(), 1);
    EXPECT_EQ(batch->failures().first(), QStringLiteral("broken.bmp : ce n'est pas une image, ou d'un type que ce programme ne lit pas"));
    ASSERT_EQ(reports.size(), 1);
    const QStringList report = reports.first().split(QLatin1Char('\n'));
    EXPECT_EQ(report.value(0), QStringLiteral("3 dessins enregistrés dans ") + QDir::toNativeSeparators(out)) << reports.first().toStdString();
    EXPECT_EQ(report.value(1), QStringLiteral("1 image n'a pas pu être convertie :"));
    // The last photo is the main window's photo, as after an open: its name in the status strip and
    // for the save command, a history of its own.
    EXPECT_EQ(QDir::toNativeSeparators(main->openedFile()), QDir::toNativeSeparators(b));
    EXPECT_TRUE(main->statusStrip()->Label1->text().startsWith(b + QStringLiteral(" - 70x90"))) << main->statusStrip()->Label1->text().toStdString();
    EXPECT_FALSE(main->sourceHistory().canUndo());

    // The command line's batch gives the same bytes.
    QDir(dir.path()).mkdir(QStringLiteral("cli"));
    std::ostringstream cliOut, cliErr;
    const int status = cli::runCli({"batch", "--style", "pencil-grey", "--out", dir.filePath(QStringLiteral("cli")).toStdString(),
                                    clash.toStdString(), a.toStdString(), b.toStdString()},
                                   cliOut, cliErr);
    ASSERT_EQ(status, cli::kExitSuccess) << cliErr.str();
    for (const char* name : {"a.jpg", "b.jpg", "a.bmp.jpg"}) {
        const QByteArray mine = bytesOf(output(name));
        EXPECT_FALSE(mine.isEmpty()) << name;
        EXPECT_EQ(mine, bytesOf(dir.filePath(QStringLiteral("cli/Graphitello - ") + QString::fromLatin1(name)))) << name;
    }
}

TEST_F(BatchWindowTest, TheListAndTheDestinationBox) {
    const QString a = photo("a.jpg", 20, 20), b = photo("b.jpg", 20, 20);
    batch->addFiles({a, b});
    batch->ListBox1->item(0)->setSelected(true);
    batch->removeSelected();
    EXPECT_EQ(batch->files(), QStringList{QDir::toNativeSeparators(b)});
    batch->clearList();
    EXPECT_TRUE(batch->files().isEmpty());
    // Leaving the box: a folder that does not exist is said at once and kept as typed, with the
    // offer to create it; the run does not start while it is missing.
    const QString nowhere = dir.filePath(QStringLiteral("nowhere"));
    typeDestination(nowhere);
    EXPECT_EQ(askedToCreate, QStringList{nowhere});
    EXPECT_EQ(batch->destination(), nowhere);
    batch->addFiles({a});
    QTest::mouseClick(batch->Button5, Qt::LeftButton);
    EXPECT_FALSE(batch->running());
    EXPECT_FALSE(main->windows.parameterWindow->isVisible());
    EXPECT_FALSE(QDir(nowhere).exists());
    createAnswer = MissingFolder::Create;
    typeDestination(nowhere);
    EXPECT_TRUE(QDir(nowhere).exists());
    // A file is no folder.
    typeDestination(a);
    QTest::mouseClick(batch->Button5, Qt::LeftButton);
    EXPECT_FALSE(batch->running());
    batch->clearList();
    typeDestination(out);
    EXPECT_EQ(batch->destination(), out);
    // Nothing changes while the main window is busy.
    main->Busy = true;
    batch->addFiles({a});
    EXPECT_TRUE(batch->files().isEmpty());
    main->Busy = false;
}

TEST_F(BatchWindowTest, ExistingDrawingsAreAskedAboutOnceAndAnEmptyListStartsNothing) {
    QTest::mouseClick(batch->Button5, Qt::LeftButton);
    EXPECT_TRUE(batch->isVisible());
    EXPECT_FALSE(main->Busy);
    EXPECT_FALSE(main->windows.parameterWindow->isVisible());

    const QString a = photo("a.jpg", 50, 40), b = photo("b.jpg", 50, 40);
    std::ofstream(output("a.jpg").toStdString()) << "old";
    std::ofstream(output("b.jpg").toStdString()) << "old";
    batch->addFiles({a, b});
    batch->setDestination(out + QLatin1Char('/'));
    answer = ExistingDrawings::Cancel;
    QTest::mouseClick(batch->Button5, Qt::LeftButton);
    EXPECT_EQ(asked, QList<int>{2});
    EXPECT_FALSE(batch->running());
    EXPECT_EQ(batch->ListBox1->count(), 2);

    answer = ExistingDrawings::Skip;
    ASSERT_TRUE(runAndWait());
    EXPECT_EQ(bytesOf(output("a.jpg")), QByteArray("old"));
    EXPECT_EQ(bytesOf(output("b.jpg")), QByteArray("old"));

    main->openBatchWindow();
    batch->addFiles({a, b});
    batch->setDestination(out);
    answer = ExistingDrawings::Overwrite;
    ASSERT_TRUE(runAndWait());
    EXPECT_EQ(asked, (QList<int>{2, 2, 2}));
    EXPECT_NE(bytesOf(output("a.jpg")), QByteArray("old"));
    EXPECT_NE(bytesOf(output("b.jpg")), QByteArray("old"));
}

// A photo the machine has not the memory to draw is refused before the work with the window's own
// line, and the run goes on with the next.
TEST_F(BatchWindowTest, APhotoBeyondTheAvailableMemoryIsListedAndNothingIsWritten) {
    batch->addFiles({photo("a.jpg", 90, 70)});
    batch->setDestination(out);
    qputenv("GRAPHITELLO_AVAILABLE_MEMORY", "1M");
    const bool ended = runAndWait();
    qunsetenv("GRAPHITELLO_AVAILABLE_MEMORY");
    ASSERT_TRUE(ended);
    EXPECT_EQ(batch->failures(), QStringList{QStringLiteral("a.jpg : pas assez de mémoire pour dessiner cette image")});
    EXPECT_TRUE(QDir(out).entryList(QDir::Files).isEmpty());
    EXPECT_FALSE(main->Busy);
}

TEST_F(BatchWindowTest, CancelStopsAfterThePictureAndClosesASecondLater) {
    const QString a = photo("a.jpg", 1400, 1000), b = photo("b.jpg", 50, 40);
    batch->addFiles({a, b});
    EXPECT_EQ(QDir::toNativeSeparators(batch->destination()), QDir::toNativeSeparators(dir.path() + QLatin1Char('/')));
    batch->setDestination(out);
    QSignalSpy ended(batch, &BatchWindow::runEnded);
    // Cancel as soon as the loop runs.
    QTimer sketch;
    bool sketched = false;
    QObject::connect(&sketch, &QTimer::timeout, [this, &sketched] {
        if (main->windows.parameterWindow->isVisible()) {
            QTest::mouseClick(main->windows.parameterWindow->Button1, Qt::LeftButton);
            sketched = true;
        } else if (sketched && batch->running()) {
            QTest::mouseClick(batch->Button4, Qt::LeftButton);
        }
    });
    sketch.start(5);
    QTest::mouseClick(batch->Button5, Qt::LeftButton);
    ASSERT_TRUE(ended.count() > 0 || ended.wait(120000));
    sketch.stop();
    EXPECT_TRUE(batch->isVisible());  // for one more second
    EXPECT_TRUE(main->CancelRequested.load());
    EXPECT_EQ(batch->ListBox1->count(), 0);
    QSignalSpy hidden(batch, &QDialog::finished);
    EXPECT_TRUE(hidden.wait(3000));
    EXPECT_FALSE(batch->isVisible());
    EXPECT_FALSE(main->CancelRequested.load());
    EXPECT_FALSE(main->Busy);
    EXPECT_TRUE(QDir(out).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(reports.isEmpty());
}

}  // namespace
}  // namespace gt
