#pragma once
// The donation window; for now it holds the controls the language switch names.

#include "ui/shell_window.h"

namespace gt {

class DonationWindow : public ShellWindow {
    Q_OBJECT
public:
    explicit DonationWindow(QWidget* parent = nullptr);
};

}  // namespace gt
