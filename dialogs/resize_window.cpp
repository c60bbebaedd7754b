#include "dialogs/resize_window.h"

namespace gt {

ResizeWindow::ResizeWindow(QWidget* parent) : ShellWindow(QStringLiteral("Form10"), QStringLiteral("Redimensionner l'image source"), parent) {
    addLabel(QStringLiteral("Label1"));
    addLabel(QStringLiteral("Label2"));
    addCheckBox(QStringLiteral("CheckBox1"));
    addCheckBox(QStringLiteral("CheckBox2"));
    addButton(QStringLiteral("Button2"));
}

}  // namespace gt
