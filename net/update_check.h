#pragma once

#include <QByteArray>

namespace net {

/// The published version number of the update document: its leading decimal number, 0 when
/// it does not begin with one. Nothing else of the document is read.
double publishedVersion(const QByteArray& document);

/// True when the document publishes a version greater than `current` (strictly).
bool newerVersionPublished(const QByteArray& document, double current);

}  // namespace net
