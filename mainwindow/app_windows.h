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
    MainWindow* Form1 = nullptr;
    ResizeWindow* Form10 = nullptr;
    RetouchWindow* Form11 = nullptr;
    AddTextWindow* Form9 = nullptr;
    DonationWindow* Form8 = nullptr;
    BatchWindow* Form2 = nullptr;
    AboutWindow* Form3 = nullptr;
    ParameterWindow* Form4 = nullptr;
    FramesWindow* Form5 = nullptr;
    PrintPreviewWindow* Form6 = nullptr;
    FullScreenWindow* Form7 = nullptr;
};

}  // namespace gt
