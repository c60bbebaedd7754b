#include "dialogs/print_preview_window.h"

#include <QPrinterInfo>

namespace gt {

PrintPreviewWindow::PrintPreviewWindow(QWidget* parent)
    : ShellWindow(QStringLiteral("Form6"), QStringLiteral("Aperçu avant impression"), parent) {
    for (const char* name : {"Label6", "Label1", "Label3", "Label4", "Label2", "Label5"}) addLabel(QString::fromLatin1(name));
    for (const char* name : {"Button2", "Button3", "BitBtn1"}) addButton(QString::fromLatin1(name));
    addGroupBox(QStringLiteral("GroupBox1"));
    for (const char* name : {"RadioButton4", "RadioButton5", "RadioButton1", "RadioButton2", "RadioButton3"})
        addRadioButton(QString::fromLatin1(name));
    hasPrinter_ = !QPrinterInfo::defaultPrinter().isNull();
}

}  // namespace gt
