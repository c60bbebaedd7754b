// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window and its windows as the window tests start them: in French, shown at 961 x 640,
// the messages it would show kept, its questions answered yes; work still running when a test
// ends is cancelled and waited for.

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <memory>

#include "app_test_support.h"
#include "mainwindow/startup.h"

namespace gt::test {

class MainWindowFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() { app(); }
    void SetUp() override {
        main = createWindows(Language::French);
        main->showMessage = [this](const QString& m) { messages << m; };
        main->askOkCancel = [](const QString&) { return true; };
        main->resize(961, 640);
        main->show();
        main->layoutPanes();
    }
    void TearDown() override {
        if (!main) return;
        if (main->renderRunning()) {
            main->CancelRequested.store(true);
            QSignalSpy done(main.get(), &MainWindow::renderFinished);
            done.wait(60000);
        }
        if (main->sourceJobRunning()) {
            main->CancelRequested.store(true);
            QSignalSpy done(main.get(), &MainWindow::sourceStepFinished);
            done.wait(60000);
        }
    }
    // Presses "Sketch" and waits for the rendering to end.
    bool sketchAndWait() {
        QSignalSpy done(main.get(), &MainWindow::renderFinished);
        main->windows.parameterWindow->Button1->click();
        return done.wait(120000);
    }

    std::unique_ptr<MainWindow> main;
    QStringList messages;
};

}  // namespace gt::test
