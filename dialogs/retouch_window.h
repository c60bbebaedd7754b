#pragma once
// The retouch dialog of the source picture; for now it holds the controls the language switch names.

#include "mainwindow/shells/shell_window.h"

namespace gt {

class RetouchWindow : public ShellWindow {
    Q_OBJECT
public:
    explicit RetouchWindow(QWidget* parent = nullptr);
};

}  // namespace gt
