#include "dialogs/donation_window.h"

namespace gt {

DonationWindow::DonationWindow(QWidget* parent)
    : ShellWindow(QStringLiteral("Form8"), QStringLiteral("Une petite tasse de café ?"), parent) {
    addLabel(QStringLiteral("Label1"));
    addButton(QStringLiteral("Button1"));
}

}  // namespace gt
