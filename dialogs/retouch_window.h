#pragma once
// The retouch dialog of the source picture; for now it holds the controls the language switch names.

#include "ui/shell_window.h"

namespace gt {

class RetouchWindow : public ShellWindow {
    Q_OBJECT
public:
    explicit RetouchWindow(QWidget* parent = nullptr);
};

}  // namespace gt
