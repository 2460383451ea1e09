#pragma once

// The network addresses of the program, fixed when it is built (QM_ECHO_ADDRESS,
// QM_UPDATE_URL, QM_SITE_URL). Link the target qm_site to get them.

#include <QString>
#include <QUrl>

#if !defined(QM_ECHO_ADDRESS) || !defined(QM_UPDATE_URL) || !defined(QM_SITE_URL)
#error "core/site.h needs the build settings of the target qm_site"
#endif

namespace core::site {

/// The IPv4 address that the start window's reachability echo goes to.
inline QString echoAddress() {
    return QStringLiteral(QM_ECHO_ADDRESS);
}

/// The address of the published version number, "dictversion.txt" on the update server.
inline QString updateAddress() {
    return QStringLiteral(QM_UPDATE_URL);
}

/// The web site's address: the start window's links and notices, the dictionary window's
/// not-found text.
inline QString siteAddress() {
    return QStringLiteral(QM_SITE_URL);
}

/// The host name of the web site, as the start window's link shows it.
inline QString siteHost() {
    return QUrl(siteAddress()).host();
}

}  // namespace core::site
