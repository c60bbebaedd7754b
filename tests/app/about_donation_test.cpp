// SPDX-License-Identifier: GPL-3.0-or-later
// The About window's banner and notice, and the donation window's content sets and addresses.
#include <gtest/gtest.h>

#include <QTest>

#include "app_test_support.h"
#include "dialogs/about_window.h"
#include "dialogs/banner_scroll.h"
#include "dialogs/donation_window.h"
#include "dialogs/web_addresses.h"

namespace gt {
namespace {

TEST(Banner, MovesAPixelEvery10msThenPausesWithoutSleepingAndStartsAgain) {
    BannerScroll banner;
    EXPECT_EQ(banner.tick(false), 0);  // hidden: the timer stops
    EXPECT_EQ(banner.left(), 0);
    for (int i = 1; i <= 1000; ++i) {
        ASSERT_EQ(banner.tick(true), 10);
        ASSERT_EQ(banner.left(), -i);
    }
    // At the end: 100 ms there, then back to the start for the rest of the second.
    EXPECT_EQ(banner.tick(true), 100);
    EXPECT_EQ(banner.left(), -1000);
    EXPECT_EQ(banner.tick(true), 900);
    EXPECT_EQ(banner.left(), 0);
    EXPECT_EQ(banner.tick(true), 10);
    EXPECT_EQ(banner.left(), -1);
}

TEST(AboutWindow, OpensTheSiteAndTogglesTheNoticeInTheLanguageShown) {
    test::app();
    AboutWindow about;
    QStringList opened;
    about.openAddress = [&](const QString& a) {
        opened << a;
        return true;
    };
    about.show();
    EXPECT_EQ(about.height(), 129);
    EXPECT_FALSE(about.Memo2->isHidden());
    EXPECT_TRUE(about.Memo1->isHidden());
    // The licence in the language shown, with its address.
    const QString licence = QStringLiteral("https://www.gnu.org/licenses/gpl-3.0.html");
    EXPECT_TRUE(about.Memo2->toPlainText().contains(QStringLiteral("logiciel libre")));
    EXPECT_TRUE(about.Memo2->toPlainText().contains(licence));
    QTest::mouseClick(about.Label3, Qt::LeftButton);
    EXPECT_EQ(about.height(), 373);
    QTest::mouseClick(about.Label3, Qt::LeftButton);
    EXPECT_EQ(about.height(), 129);
    about.applyTexts(TextTable::of(Language::Chinese), Language::Chinese);
    EXPECT_FALSE(about.Label2->isHidden());
    EXPECT_TRUE(about.Label3->isHidden());
    EXPECT_FALSE(about.Memo1->isHidden());
    EXPECT_TRUE(about.Memo1->toPlainText().contains(QStringLiteral("自由軟體")));
    EXPECT_TRUE(about.Memo1->toPlainText().contains(licence));
    EXPECT_EQ(about.windowTitle(), QStringLiteral("關於Graphitello"));
    about.applyTexts(TextTable::of(Language::English), Language::English);
    EXPECT_FALSE(about.Memo1->isHidden());
    EXPECT_TRUE(about.Memo1->toPlainText().contains(QStringLiteral("WITHOUT ANY WARRANTY")));
    EXPECT_TRUE(about.Memo1->toPlainText().contains(licence));
    EXPECT_EQ(about.Label2->text(), QStringLiteral("Legal notice"));
    about.applyTexts(TextTable::of(Language::Chinese), Language::Chinese);
    // The banner starts 200 ms after showing.
    EXPECT_TRUE(about.bannerTimer.isActive());
    EXPECT_EQ(about.bannerTimer.interval(), 200);
    about.scrollBanner();
    EXPECT_EQ(about.Image1->x(), -1);
    EXPECT_EQ(about.bannerTimer.interval(), 10);
    about.openSite();
    EXPECT_EQ(opened, QStringList{QStringLiteral("https://graphitello.org")});
    EXPECT_FALSE(about.isVisible());
    EXPECT_FALSE(about.bannerTimer.isActive());
}

TEST(Donation, AddressesOfEveryAmountInBothCurrencies) {
    const QString page = QStringLiteral("https://www.paypal.com/cgi-bin/webscr?cmd=_donations&business=donations%40graphitello.org");
    const QString dollars[] = {"1%2e50", "2%2e00", "3%2e00", "5%2e00", "7%2e00", "10%2e00", "15%2e00"};
    const QString euros[] = {"1%2e00", "1%2e50", "2%2e00", "3%2e00", "5%2e00", "10%2e00", "15%2e00"};
    for (int i = -1; i <= 7; ++i) {
        const int sent = i < 0 || i > 6 ? 1 : i;
        EXPECT_EQ(donationAddress(DonationCurrency::Dollar, i),
                  page + QStringLiteral("&item_name=Offer%20me%20a%20coffee&amount=") + dollars[sent] +
                      QStringLiteral("&no_shipping=1&no_note=1&tax=0&currency_code=USD&lc=US&bn=PP%2dDonationsBF&charset=UTF%2d8"))
            << i;
        EXPECT_EQ(donationAddress(DonationCurrency::Euro, i),
                  page + QStringLiteral("&item_name=Offrez%2dmoi%20un%20petit%20caf%c3%a9&amount=") + euros[sent] +
                      QStringLiteral("&no_shipping=1&no_note=1&tax=0&currency_code=EUR&lc=FR&bn=PP%2dDonationsBF&charset=UTF%2d8"))
            << i;
    }
}

TEST(Donation, TheWindowShowsTheSetOfTheInterfaceAndSendsTheChosenAmount) {
    test::app();
    DonationWindow window;
    QStringList opened;
    window.openAddress = [&](const QString& a) {
        opened << a;
        return true;
    };
    window.show();
    EXPECT_FALSE(window.englishSetShown());
    EXPECT_EQ(window.ListBox1->currentRow(), 1);
    EXPECT_EQ(window.ListBox2->currentRow(), 1);
    EXPECT_EQ(window.ListBox1->item(6)->text(), QStringLiteral("15 € - attention à l'overdose de caféine !"));
    EXPECT_EQ(window.ListBox2->item(4)->text(), QStringLiteral("$7.00 - a large organic coffee with homemade cookies"));
    window.ListBox1->setCurrentRow(5);
    window.donateEuros();
    window.ListBox1->setCurrentRow(-1);
    window.donateEuros();
    window.applyTexts(TextTable::of(Language::Chinese), Language::Chinese);
    EXPECT_TRUE(window.englishSetShown());
    EXPECT_TRUE(window.Memo2->isHidden());
    window.ListBox2->setCurrentRow(0);
    window.donateDollars();
    EXPECT_EQ(opened, (QStringList{donationAddress(DonationCurrency::Euro, 5), donationAddress(DonationCurrency::Euro, 1),
                                   donationAddress(DonationCurrency::Dollar, 0)}));
    EXPECT_TRUE(window.isVisible());  // the window stays open
}

}  // namespace
}  // namespace gt
