#pragma once
// The resize dialog of the source picture; for now it holds the controls the language switch names.

#include "ui/shell_window.h"

namespace gt {

class ResizeWindow : public ShellWindow {
    Q_OBJECT
public:
    explicit ResizeWindow(QWidget* parent = nullptr);
};

}  // namespace gt
