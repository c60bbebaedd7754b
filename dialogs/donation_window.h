// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The donation window: an appeal, a list of amounts and a donate button, in euros for the French
// interface and in dollars for the other; the button opens the donation page with the chosen
// amount in the browser and the window stays open.

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "dialogs/web_addresses.h"
#include "ui/language.h"
#include "ui/widgets.h"

namespace gt {

class DonationWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 482;
    static constexpr int kClientHeight = 341;

    explicit DonationWindow(QWidget* parent = nullptr);
    void applyTexts(const TextTable& table, Language language);

    // ---- Handlers ----
    void showLanguageSet();     // the content set of the interface's language
    void donateDollars();  // the dollar donation
    void donateEuros();  // the euro donation
    void dismiss() { close(); }

    bool englishSetShown() const { return !ListBox2->isHidden(); }

    // The browser; tests replace it.
    OpenAddress openAddress = systemBrowser();

    QPlainTextEdit* Memo1 = nullptr;  // the appeal in English
    QPlainTextEdit* Memo2 = nullptr;  // the appeal in French
    QLabel* Label1 = nullptr;
    QListWidget* ListBox1 = nullptr;  // euros
    QListWidget* ListBox2 = nullptr;  // dollars
    ClickableLabel* Image1 = nullptr; // the donate button of the English set
    ClickableLabel* Image2 = nullptr; // the donate button of the French set
    QPushButton* Button1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    Language language_ = Language::French;
};

}  // namespace gt
