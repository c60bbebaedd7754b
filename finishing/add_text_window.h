#pragma once
// The add-text window: for now its settings with their defaults (what the finishing pass reads) and the controls the language switch names.

#include "pipeline/finishing_settings.h"
#include "ui/shell_window.h"

namespace gt {

class AddTextWindow : public ShellWindow {
    Q_OBJECT
public:
    explicit AddTextWindow(QWidget* parent = nullptr);
    TextSettings settings;
    void applyTexts(const TextTable& table, Language language) override;
};

}  // namespace gt
