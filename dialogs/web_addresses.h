// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's addresses on the web, kept in one place, and the call that hands one to the
// system's browser (a function object, so that tests see the address and no browser opens).

#include <QString>
#include <functional>

namespace gt {

inline constexpr const char* kProductSite = "https://graphitello.org";
// The donation page and the account the donations go to.
inline constexpr const char* kDonationPage = "https://www.paypal.com/cgi-bin/webscr";
inline constexpr const char* kDonationAccount = "donations@graphitello.org";

// Opens an address, already encoded, in the default browser; false when the system could not.
using OpenAddress = std::function<bool(const QString& address)>;
OpenAddress systemBrowser();

enum class DonationCurrency { Dollar, Euro };
// The seven amounts of a currency's list, as the address sends them ("1%2e50").
inline constexpr int kDonationAmounts = 7;
// The donation page's address for the list entry `index`; an index outside 0..6 (no choice
// included) sends the amount of entry 1.
QString donationAddress(DonationCurrency currency, int index);

}  // namespace gt
