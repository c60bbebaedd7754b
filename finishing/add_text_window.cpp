#include "finishing/add_text_window.h"

namespace gt {

AddTextWindow::AddTextWindow(QWidget* parent) : ShellWindow(QStringLiteral("Form9"), QStringLiteral("Ajouter du texte   "), parent) {
    addLabel(QStringLiteral("Label1"));
    addButton(QStringLiteral("BitBtn1"));
    addButton(QStringLiteral("BitBtn2"));
    addList(QStringLiteral("ComboBox1"), 10)->setCurrentIndex(settings.position);
    addCheckBox(QStringLiteral("CheckBox1"));
    addButton(QStringLiteral("Button3"));
}

void AddTextWindow::applyTexts(const TextTable& table, Language language) {
    ShellWindow::applyTexts(table, language);
    // The switch also selects the bottom-right place.
    static_cast<QComboBox*>(control(QStringLiteral("ComboBox1")))->setCurrentIndex(kPlaceBottomRight);
    settings.position = kPlaceBottomRight;
}

}  // namespace gt
