#pragma once
// The print preview window. Creating it looks for the system's default printer; the rest of the window is built later.

#include "ui/shell_window.h"

namespace gt {

class PrintPreviewWindow : public ShellWindow {
    Q_OBJECT
public:
    explicit PrintPreviewWindow(QWidget* parent = nullptr);
    // Whether the system has a printer; the print command is disabled without one.
    bool hasPrinter() const { return hasPrinter_; }

private:
    bool hasPrinter_ = false;
};

}  // namespace gt
