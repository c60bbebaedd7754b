// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/web_addresses.h"

#include <QDesktopServices>
#include <QUrl>

namespace gt {

OpenAddress systemBrowser() {
    // The address is sent as written: its escapes ("%2e", "%20") are not to be decoded again.
    return [](const QString& address) { return QDesktopServices::openUrl(QUrl::fromEncoded(address.toLatin1(), QUrl::StrictMode)); };
}

QString donationAddress(DonationCurrency currency, int index) {
    static const char* const dollars[kDonationAmounts] = {"1%2e50", "2%2e00", "3%2e00", "5%2e00", "7%2e00", "10%2e00", "15%2e00"};
    static const char* const euros[kDonationAmounts] = {"1%2e00", "1%2e50", "2%2e00", "3%2e00", "5%2e00", "10%2e00", "15%2e00"};
    if (index < 0 || index >= kDonationAmounts) index = 1;
    const bool dollar = currency == DonationCurrency::Dollar;
    const QString account = QString::fromLatin1(QUrl::toPercentEncoding(QString::fromLatin1(kDonationAccount)));
    const QString prefix = QStringLiteral("cmd=_donations&business=") + account +
                           (dollar ? QStringLiteral("&item_name=Offer%20me%20a%20coffee&amount=")
                                   : QStringLiteral("&item_name=Offrez%2dmoi%20un%20petit%20caf%c3%a9&amount="));
    const QString suffix = dollar ? QStringLiteral("&no_shipping=1&no_note=1&tax=0&currency_code=USD&lc=US&bn=PP%2dDonationsBF&charset=UTF%2d8")
                                  : QStringLiteral("&no_shipping=1&no_note=1&tax=0&currency_code=EUR&lc=FR&bn=PP%2dDonationsBF&charset=UTF%2d8");
    return QString::fromLatin1(kDonationPage) + QLatin1Char('?') + prefix +
           QString::fromLatin1(dollar ? dollars[index] : euros[index]) + suffix;
}

}  // namespace gt
