// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every window of the program, created once at start-up in a fixed order and kept until the main
// window closes.

namespace gt {

class MainWindow;
class ResizeWindow;
class RetouchWindow;
class AddTextWindow;
class DonationWindow;
class BatchWindow;
class AboutWindow;
class ParameterWindow;
class FramesWindow;
class PrintPreviewWindow;
class FullScreenWindow;

struct AppWindows {
    MainWindow* mainWindow = nullptr;
    ResizeWindow* resizeWindow = nullptr;
    RetouchWindow* retouchWindow = nullptr;
    AddTextWindow* addTextWindow = nullptr;
    DonationWindow* donationWindow = nullptr;
    BatchWindow* batchWindow = nullptr;
    AboutWindow* aboutWindow = nullptr;
    ParameterWindow* parameterWindow = nullptr;
    FramesWindow* framesWindow = nullptr;
    PrintPreviewWindow* printPreviewWindow = nullptr;
    FullScreenWindow* fullScreenWindow = nullptr;
};

}  // namespace gt
