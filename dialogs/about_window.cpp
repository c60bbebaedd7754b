#include "dialogs/about_window.h"

namespace gt {

AboutWindow::AboutWindow(QWidget* parent) : ShellWindow(QStringLiteral("Form3"), QStringLiteral("A propos de Graphitello"), parent) {
    addLabel(QStringLiteral("Label1"))->setOpenExternalLinks(true);
}

}  // namespace gt
