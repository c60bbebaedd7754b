// SPDX-License-Identifier: GPL-3.0-or-later
// The batch window driven through the real main window: the run, its cancel, the names, the
// failures, and the same bytes as the command line's batch.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>
#include <sstream>

#include "app_test_support.h"
#include "batch/batch_window.h"
#include "cli/cli.h"
#include "imaging/io/picture_io.h"
#include "mainwindow/startup.h"

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
            main->windows.parameterWindow->Button1->click();
        });
        sketch.start(20);
        batch->Button5->click();
        return ended.count() > 0 || ended.wait(120000);
    }
    QString output(const char* name) const { return out + QStringLiteral("/Graphitello - ") + QString::fromLatin1(name); }

    QTemporaryDir dir;
    QString out;
    std::unique_ptr<MainWindow> main;
    BatchWindow* batch = nullptr;
    QStringList messages, reports;
    QList<int> asked;
    ExistingDrawings answer = ExistingDrawings::Skip;
};

TEST_F(BatchWindowTest, DrawsEveryPhotoAsTheCommandLineDoesAndListsTheFailures) {
    const QString a = photo("a.jpg", 90, 70), b = photo("b.png", 70, 90), clash = photo("a.bmp", 60, 60);
    const QString broken = dir.filePath(QStringLiteral("broken.bmp"));
    std::ofstream(broken.toStdString()) << "BM";
    batch->addFiles({broken, clash, a, b, a});
    EXPECT_EQ(batch->files().size(), 4);  // a photo listed twice is listed once
    // Typed by hand, without the final separator.
    batch->setDestination(out);
    ASSERT_TRUE(runAndWait());

    EXPECT_FALSE(batch->isVisible());
    EXPECT_EQ(batch->ListBox1->count(), 0);
    EXPECT_FALSE(main->Busy);
    EXPECT_FALSE(main->CancelRequested.load());
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
    // Always JPEG, named .jpg; the good a.jpg keeps its name whatever comes before it.
    EXPECT_EQ(QDir(out).entryList(QDir::Files),
              (QStringList{QStringLiteral("Graphitello - a.bmp.jpg"), QStringLiteral("Graphitello - a.jpg"), QStringLiteral("Graphitello - b.jpg")}));
    EXPECT_EQ(readPicture(output("b.jpg").toStdString()).width() > 70, true);
    ASSERT_EQ(batch->failures().size(), 1);
    EXPECT_TRUE(batch->failures().first().contains(QStringLiteral("broken.bmp"))) << batch->failures().first().toStdString();
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports.first().startsWith(QStringLiteral("3 dessin(s) enregistré(s), 0 ignoré(s), 1 échec(s)."))) << reports.first().toStdString();
    // The main window's save command proposes the last photo's name.
    EXPECT_EQ(QDir::toNativeSeparators(main->openedFile()), QDir::toNativeSeparators(b));

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
    // Leaving the box: a folder that does not exist is emptied, one that exists stays.
    batch->setDestination(dir.filePath(QStringLiteral("nowhere")));
    batch->destinationLeft();
    EXPECT_TRUE(batch->destination().isEmpty());
    batch->setDestination(out);
    batch->destinationLeft();
    EXPECT_EQ(batch->destination(), out);
    // Nothing changes while the main window is busy.
    main->Busy = true;
    batch->addFiles({a});
    EXPECT_TRUE(batch->files().isEmpty());
    main->Busy = false;
}

TEST_F(BatchWindowTest, ExistingDrawingsAreAskedAboutOnceAndAnEmptyListStartsNothing) {
    batch->Button5->click();
    EXPECT_TRUE(batch->isVisible());
    EXPECT_FALSE(main->Busy);
    EXPECT_FALSE(main->windows.parameterWindow->isVisible());

    const QString a = photo("a.jpg", 50, 40), b = photo("b.jpg", 50, 40);
    std::ofstream(output("a.jpg").toStdString()) << "old";
    std::ofstream(output("b.jpg").toStdString()) << "old";
    batch->addFiles({a, b});
    batch->setDestination(out + QLatin1Char('/'));
    answer = ExistingDrawings::Cancel;
    batch->Button5->click();
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

TEST_F(BatchWindowTest, CancelStopsAfterThePictureAndClosesASecondLater) {
    const QString a = photo("a.jpg", 1400, 1000), b = photo("b.jpg", 50, 40);
    batch->addFiles({a, b});
    EXPECT_EQ(QDir::toNativeSeparators(batch->destination()), QDir::toNativeSeparators(dir.path() + QLatin1Char('/')));
    batch->setDestination(out);
    QSignalSpy ended(batch, &BatchWindow::runEnded);
    // Cancel as soon as the first rendering runs.
    QTimer sketch;
    QObject::connect(&sketch, &QTimer::timeout, [this] {
        if (main->windows.parameterWindow->isVisible()) main->windows.parameterWindow->Button1->click();
        else if (main->renderRunning()) batch->Button4->click();
    });
    sketch.start(5);
    batch->Button5->click();
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
