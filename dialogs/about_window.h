// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The About window: the scrolling banner, the site's address, and the licence notice that the
// link at the bottom opens and closes, in the language shown. A click on the banner or the address
// opens the site and closes the window.

#include <QDialog>
#include <QPlainTextEdit>
#include <QTimer>

#include "dialogs/banner_scroll.h"
#include "dialogs/web_addresses.h"
#include "ui/language.h"
#include "ui/widgets.h"

namespace gt {

class AboutWindow : public QDialog {
    Q_OBJECT
public:
    // Wide enough for the title in every language (the designed 233 cut it).
    static constexpr int kClientWidth = 320;
    static constexpr int kCollapsedHeight = 129;
    static constexpr int kExpandedHeight = 373;

    explicit AboutWindow(QWidget* parent = nullptr);
    void applyTexts(const TextTable& table, Language language);

    // ---- Handlers ----
    void openSite();      // the banner and the link under it: the site
    void toggleNotice();  // either notice link: the notice opened or closed
    void scrollBanner();

    const BannerScroll& banner() const { return banner_; }
    bool noticeShown() const { return height() >= 300; }

    // The browser; tests replace it.
    OpenAddress openAddress = systemBrowser();

    ClickableLabel* Image1 = nullptr;
    ClickableLabel* Label1 = nullptr;
    ClickableLabel* Label2 = nullptr;  // the notice's link, English
    ClickableLabel* Label3 = nullptr;  // the notice's link, French
    QLabel* Label4 = nullptr;          // the version
    QPlainTextEdit* Memo1 = nullptr;   // the notice in English
    QPlainTextEdit* Memo2 = nullptr;   // the notice in French
    QTimer bannerTimer;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    BannerScroll banner_;
};

// A read-only memo that shows no caret.
QPlainTextEdit* readOnlyMemo(QWidget* parent, const QColor& colour);

}  // namespace gt
