#include "finishing/frames_window.h"

namespace gt {

FramesWindow::FramesWindow(QWidget* parent) : ShellWindow(QStringLiteral("Form5"), QStringLiteral("Paramètres de cadre"), parent) {
    for (const char* name : {"Label1", "Label3", "Label4", "Label2"}) addLabel(QString::fromLatin1(name));
    addList(QStringLiteral("ComboBox1"), 4)->setCurrentIndex(settings.style);
}

void FramesWindow::applyTexts(const TextTable& table, Language language) {
    ShellWindow::applyTexts(table, language);
    // The switch also selects the realistic frame.
    auto* list = static_cast<QComboBox*>(control(QStringLiteral("ComboBox1")));
    list->setCurrentIndex(kFrameRealistic);
    settings.style = kFrameRealistic;
}

}  // namespace gt
