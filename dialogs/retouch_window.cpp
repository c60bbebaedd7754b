#include "dialogs/retouch_window.h"

namespace gt {

RetouchWindow::RetouchWindow(QWidget* parent)
    : ShellWindow(QStringLiteral("Form11"), QStringLiteral("Modifications de l'image source"), parent) {
    for (const char* name : {"Label7", "Label8", "Label9", "Label10", "Label11"}) addLabel(QString::fromLatin1(name));
    for (const char* name : {"Button3", "Button1", "Button2"}) addButton(QString::fromLatin1(name));
}

}  // namespace gt
