#include "batch/batch_window.h"

namespace gt {

BatchWindow::BatchWindow(QWidget* parent) : ShellWindow(QStringLiteral("Form2"), QStringLiteral("Conversions multiples"), parent) {
    addLabel(QStringLiteral("Label1"));
    addLabel(QStringLiteral("Label2"));
    addCheckBox(QStringLiteral("CheckBox1"));
    for (const char* name : {"Button1", "Button4", "Button5"}) addButton(QString::fromLatin1(name));
}

}  // namespace gt
