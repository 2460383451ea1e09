#include "net/update_check.h"

#include "core/numbers.h"

#include <QString>

namespace net {

double publishedVersion(const QByteArray& document) {
    // Latin-1 keeps every byte one character, so no byte sequence can fail to decode.
    return core::leadingNumber(QString::fromLatin1(document));
}

bool newerVersionPublished(const QByteArray& document, double current) {
    return publishedVersion(document) > current;
}

}  // namespace net
