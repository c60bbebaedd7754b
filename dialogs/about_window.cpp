// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/about_window.h"

#include <QPainter>

#include "ui/app_pictures.h"
#include "version.h"

namespace gt {

QPlainTextEdit* readOnlyMemo(QWidget* parent, const QColor& colour) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setReadOnly(true);
    // Selectable with the mouse for copying, but never a caret: nothing here can be typed.
    memo->setTextInteractionFlags(Qt::TextSelectableByMouse);
    memo->setCursorWidth(0);
    QPalette palette = memo->palette();
    palette.setColor(QPalette::Base, colour);
    memo->setPalette(palette);
    return memo;
}

namespace {
// The texts of a fixed language with "\n" written for the line breaks.
QString memoText(const TextTable& table, const char* key) {
    return table.text(QString::fromLatin1(key)).replace(QStringLiteral("\\n"), QStringLiteral("\n"));
}
}  // namespace

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent) {
    useTiledPalette(this);
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("A propos de Graphitello"));
    useFixedSizeFrame(this);
    setFixedSize(kClientWidth, kCollapsedHeight);
    const QCursor hand = AppPictures::get().handCursor();

    Image1 = new ClickableLabel(this);
    Image1->setPixmap(QPixmap::fromImage(AppPictures::resource(QStringLiteral("banner.png"))));
    Image1->setGeometry(0, 0, 1225, 75);
    Image1->setCursor(hand);
    Label1 = new ClickableLabel(this);
    Label1->move(40, 75);
    Label1->setCursor(hand);
    Label1->setStyleSheet(QStringLiteral("color: #1a3f8f; text-decoration: underline"));
    // The program's number, between the address and the notice's link.
    Label4 = new QLabel(this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->move(40, 93);
    Label2 = new ClickableLabel(this);
    Label2->move(15, 111);
    Label3 = new ClickableLabel(this);
    Label3->move(35, 111);
    for (ClickableLabel* link : {Label2, Label3}) {
        link->setCursor(hand);
        link->setStyleSheet(QStringLiteral("color: #1a3f8f"));
    }
    Memo1 = readOnlyMemo(this, Qt::white);
    Memo2 = readOnlyMemo(this, Qt::white);
    for (QPlainTextEdit* memo : {Memo1, Memo2}) memo->setGeometry(5, 130, kClientWidth - 9, 239);
    // The licence notice: French in Memo2, the interface's other language in Memo1.
    Memo1->setPlainText(memoText(TextTable::of(Language::Chinese), "Form3.Memo1"));
    Memo2->setPlainText(memoText(TextTable::of(Language::French), "Form3.Memo2"));

    connect(Image1, &ClickableLabel::clicked, this, &AboutWindow::openSite);
    connect(Label1, &ClickableLabel::clicked, this, &AboutWindow::openSite);
    connect(Label2, &ClickableLabel::clicked, this, &AboutWindow::toggleNotice);
    connect(Label3, &ClickableLabel::clicked, this, &AboutWindow::toggleNotice);
    bannerTimer.setSingleShot(true);
    connect(&bannerTimer, &QTimer::timeout, this, &AboutWindow::scrollBanner);
    applyTexts(TextTable::of(Language::French), Language::French);
}

void AboutWindow::applyTexts(const TextTable& table, Language language) {
    if (const auto caption = table.find(QStringLiteral("Form3.caption"))) setWindowTitle(*caption);
    if (const auto address = table.find(QStringLiteral("Form3.Label1"))) Label1->setText(*address);
    if (const auto hint = table.find(QStringLiteral("Form3.Label1.hint"))) {
        Label1->setToolTip(*hint);
        Image1->setToolTip(*hint);
    }
    // The other notice speaks the interface's language (the French table holds the English one).
    Memo1->setPlainText(memoText(table, "Form3.Memo1"));
    Label2->setText(table.text(QStringLiteral("Form3.Label2")));
    Label3->setText(TextTable::of(Language::French).text(QStringLiteral("Form3.Label3")));
    Label4->setText(table.text(QStringLiteral("Form3.Version")).arg(QStringLiteral(GT_VERSION)));
    // Each line centred, whatever its length in this language.
    for (QLabel* l : {static_cast<QLabel*>(Label1), static_cast<QLabel*>(Label2), static_cast<QLabel*>(Label3), Label4}) {
        l->adjustSize();
        l->move((kClientWidth - l->width()) / 2, l->y());
    }
    const bool french = language == Language::French;
    Label3->setVisible(french);
    Memo2->setVisible(french);
    Label2->setVisible(!french);
    Memo1->setVisible(!french);
}

void AboutWindow::openSite() {
    openAddress(QString::fromLatin1(kProductSite));
    close();
}

void AboutWindow::toggleNotice() { setFixedSize(kClientWidth, height() >= 300 ? kCollapsedHeight : kExpandedHeight); }

void AboutWindow::scrollBanner() {
    const int next = banner_.tick(isVisible());
    Image1->move(banner_.left(), 0);
    if (next > 0) bannerTimer.start(next);
}

void AboutWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The banner starts 200 ms after the window shows.
    bannerTimer.start(200);
}

void AboutWindow::hideEvent(QHideEvent* event) {
    bannerTimer.stop();
    QDialog::hideEvent(event);
}

void AboutWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintTiled(painter, rect(), AppPictures::get().background());
}

}  // namespace gt
