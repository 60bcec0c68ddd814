#pragma once
// The web pages the start-up window's link labels open, and the maker's address as its label
// shows it. Stated here once.

#include <QString>

namespace shell::WebLinks {

inline const QString ProductPage = QStringLiteral("https://www.velkorn.example/quorvane/");
inline const QString MakerHomePage = QStringLiteral("https://www.velkorn.example/");
inline const QString MakerAddressCaption = QStringLiteral("www.velkorn.example");

} // namespace shell::WebLinks
