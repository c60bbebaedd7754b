#pragma once
// The batch window; for now it holds the controls the language switch names.

#include "ui/shell_window.h"

namespace gt {

class BatchWindow : public ShellWindow {
    Q_OBJECT
public:
    explicit BatchWindow(QWidget* parent = nullptr);
};

}  // namespace gt
