#pragma once
// The About window; for now its caption, the web address and its hint.

#include "ui/shell_window.h"

namespace gt {

class AboutWindow : public ShellWindow {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);
};

}  // namespace gt
