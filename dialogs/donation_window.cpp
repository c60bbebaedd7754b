// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/donation_window.h"

#include <QPainter>

#include "dialogs/about_window.h"
#include "ui/app_pictures.h"

namespace gt {

DonationWindow::DonationWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("Une petite tasse de café ?"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    const QColor memoColour(238, 238, 238);
    Memo1 = readOnlyMemo(this, memoColour);
    Memo2 = readOnlyMemo(this, memoColour);
    for (QPlainTextEdit* memo : {Memo1, Memo2}) memo->setGeometry(8, 8, 466, 201);
    Label1 = new QLabel(this);
    Label1->move(8, 218);
    ListBox1 = new QListWidget(this);
    ListBox2 = new QListWidget(this);
    const TextTable& french = TextTable::of(Language::French);
    const TextTable& second = TextTable::of(Language::Chinese);
    for (int i = 0; i < kDonationAmounts; ++i) {
        ListBox1->addItem(french.text(entryKey(QStringLiteral("Form8.ListBox1"), i)));
        ListBox2->addItem(second.text(entryKey(QStringLiteral("Form8.ListBox2"), i)));
    }
    for (QListWidget* list : {ListBox1, ListBox2}) {
        list->setGeometry(8, 238, 288, 96);
        list->setCurrentRow(1);
    }
    // Each appeal has one language whatever the interface's.
    Memo1->setPlainText(second.text(QStringLiteral("Form8.Memo1")).replace(QStringLiteral("\\n"), QStringLiteral("\n")));
    Memo2->setPlainText(french.text(QStringLiteral("Form8.Memo2")).replace(QStringLiteral("\\n"), QStringLiteral("\n")));

    const QCursor hand = AppPictures::get().handCursor();
    Image1 = new ClickableLabel(this);
    Image1->setPixmap(QPixmap::fromImage(AppPictures::resource(QStringLiteral("donate_zh.png"))));
    Image2 = new ClickableLabel(this);
    Image2->setPixmap(QPixmap::fromImage(AppPictures::resource(QStringLiteral("donate_fr.png"))));
    for (ClickableLabel* button : {Image1, Image2}) {
        button->setGeometry(326, 258, 124, 26);
        button->setCursor(hand);
    }
    Button1 = new QPushButton(this);
    Button1->setGeometry(350, 306, 100, 26);

    connect(Image1, &ClickableLabel::clicked, this, &DonationWindow::donateDollars);
    connect(Image2, &ClickableLabel::clicked, this, &DonationWindow::donateEuros);
    connect(Button1, &QPushButton::clicked, this, &DonationWindow::dismiss);
    applyTexts(french, Language::French);
}

void DonationWindow::applyTexts(const TextTable& table, Language language) {
    language_ = language;
    if (const auto caption = table.find(QStringLiteral("Form8.caption"))) setWindowTitle(*caption);
    if (const auto t = table.find(QStringLiteral("Form8.Label1"))) {
        Label1->setText(*t);
        Label1->adjustSize();
    }
    if (const auto t = table.find(QStringLiteral("Form8.Button1"))) Button1->setText(*t);
    // The English set's button speaks the interface's language: English, or the second language.
    const QImage button = AppPictures::resource(language == Language::English ? QStringLiteral("donate_en.png") : QStringLiteral("donate_zh.png"));
    if (!button.isNull()) Image1->setPixmap(QPixmap::fromImage(button));
    showLanguageSet();
}

void DonationWindow::showLanguageSet() {
    const bool english = language_ != Language::French;
    for (QWidget* w : {static_cast<QWidget*>(Memo1), static_cast<QWidget*>(Image1), static_cast<QWidget*>(ListBox2)}) w->setVisible(english);
    for (QWidget* w : {static_cast<QWidget*>(Memo2), static_cast<QWidget*>(Image2), static_cast<QWidget*>(ListBox1)}) w->setVisible(!english);
}

void DonationWindow::donateDollars() { openAddress(donationAddress(DonationCurrency::Dollar, ListBox2->currentRow())); }
void DonationWindow::donateEuros() { openAddress(donationAddress(DonationCurrency::Euro, ListBox1->currentRow())); }

void DonationWindow::showEvent(QShowEvent* event) {
    showLanguageSet();
    QDialog::showEvent(event);
}

void DonationWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintTiled(painter, rect(), AppPictures::get().background());
}

}  // namespace gt
