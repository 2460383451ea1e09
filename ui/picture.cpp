#include "ui/picture.h"

#include <QFont>
#include <QMouseEvent>
#include <QPainter>
#include <QResource>
#include <QSvgRenderer>

#include <cstdint>
#include <cstring>

namespace ui {

Picture::Picture(QWidget* parent) : QLabel(parent) {
    setMouseTracking(true);
    setScaledContents(true);
}

void Picture::setPicture(const QPixmap& picture) {
    picture_ = picture;
    setPixmap(picture);
    fitPicture();
}

void Picture::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    fitPicture();
}

void Picture::fitPicture() {
    // A label that scales its picture keeps a scaled copy of it even when nothing needs
    // scaling: a picture drawn for the control's size is shown as it is.
    const bool fits =
        !picture_.isNull() && picture_.deviceIndependentSize().toSize() == contentsRect().size();
    setScaledContents(!fits);
}

void Picture::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved();
    QLabel::mouseMoveEvent(event);
}

void Picture::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
    }
    QLabel::mousePressEvent(event);
}

void Picture::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        pressed_ && event->button() == Qt::LeftButton && rect().contains(event->pos());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click) {
        emit clicked();
    }
}

namespace {

// A drawing laid down by the build: a header of four 32-bit numbers, then the rows.
struct DrawingHeader {
    std::uint32_t magic;
    std::int32_t width;
    std::int32_t height;
    std::int32_t bytesPerLine;
};
constexpr std::uint32_t kDrawingMagic = 0x514d4431;  // "QMD1"
constexpr QImage::Format kDrawingFormat = QImage::Format_ARGB32_Premultiplied;

}  // namespace

QImage drawSvg(const QString& source, int width, int height) {
    QImage image(width, height, kDrawingFormat);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(source);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(0, 0, width, height));
    return image;
}

QString drawnResource(const QString& resource, int width, int height) {
    QString name = resource;
    if (name.startsWith(QLatin1String(":/"))) {
        name.remove(0, 2);
    }
    if (name.endsWith(QLatin1String(".svg"))) {
        name.chop(4);
    }
    return QStringLiteral(":/drawn/%1_%2x%3.raw").arg(name).arg(width).arg(height);
}

QByteArray drawingBytes(const QImage& drawing) {
    const QImage image = drawing.convertToFormat(kDrawingFormat);
    const DrawingHeader header{kDrawingMagic, image.width(), image.height(),
                               static_cast<std::int32_t>(image.bytesPerLine())};
    QByteArray bytes(reinterpret_cast<const char*>(&header), sizeof(header));
    bytes.append(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
    return bytes;
}

std::optional<QImage> drawingFromBytes(const QByteArray& bytes, int width, int height) {
    DrawingHeader header{};
    if (bytes.size() < static_cast<qsizetype>(sizeof(header))) {
        return std::nullopt;
    }
    std::memcpy(&header, bytes.constData(), sizeof(header));
    const auto* rows = reinterpret_cast<const uchar*>(bytes.constData() + sizeof(header));
    const qsizetype bytesPerLine = static_cast<qsizetype>(width) * 4;
    if (header.magic != kDrawingMagic || header.width != width || header.height != height ||
        header.bytesPerLine != bytesPerLine ||
        bytes.size() != static_cast<qsizetype>(sizeof(header)) + bytesPerLine * height ||
        reinterpret_cast<std::uintptr_t>(rows) % alignof(std::uint32_t) != 0) {
        return std::nullopt;
    }
    return QImage(rows, width, height, bytesPerLine, kDrawingFormat);
}

QPixmap renderSvg(const QString& resource, int width, int height) {
    // Drawing an SVG with large lettering takes a good part of a window's start; the build
    // draws such pictures at the sizes the windows show them, with this same routine. A
    // drawing stored as it is in the program is shown from there without a copy.
    const QResource drawn(drawnResource(resource, width, height));
    if (drawn.isValid()) {
        const bool stored = drawn.compressionAlgorithm() == QResource::NoCompression;
        const QByteArray bytes =
            stored ? QByteArray::fromRawData(reinterpret_cast<const char*>(drawn.data()),
                                             static_cast<qsizetype>(drawn.size()))
                   : drawn.uncompressedData();
        if (std::optional<QImage> image = drawingFromBytes(bytes, width, height)) {
            // Kept in the drawing's own format, as a fresh drawing is: finding the picture
            // opaque would copy it into another.
            return QPixmap::fromImage(stored ? *image : image->copy(), Qt::NoOpaqueDetection);
        }
    }
    return QPixmap::fromImage(drawSvg(resource, width, height), Qt::NoOpaqueDetection);
}

void ImageList::add(const QString& name, const QPixmap& picture) {
    pictures_.emplace_back(name, picture);
}

const QPixmap& ImageList::picture(int index) const {
    return pictures_.at(static_cast<size_t>(index - 1)).second;
}

const QString& ImageList::name(int index) const {
    return pictures_.at(static_cast<size_t>(index - 1)).first;
}

void ImageList::showOn(Picture& control, int index) const {
    control.setPicture(picture(index));
    control.setLook(name(index));
}

namespace {

// The faces the windows name, the installed faces that stand in for them, and the kind of
// face each is.
struct WindowFace {
    const char* name;
    const char* substitutes[2];
    QFont::StyleHint kind;
    bool latin;  // a Latin face itself: no Latin face goes before it
};
constexpr WindowFace kWindowFaces[] = {
    {"宋体", {"AR PL UMing CN", "Noto Serif CJK SC"}, QFont::Serif, false},
    {"黑体", {"WenQuanYi Zen Hei", "Noto Sans CJK SC"}, QFont::SansSerif, false},
    {"楷体_GB2312", {"AR PL UKai CN", "AR PL UMing CN"}, QFont::Cursive, false},
    {"Arial Black", {"DejaVu Sans", "Liberation Sans"}, QFont::AnyStyle, true},
};

// Each Chinese face is of its own kind: windowFont relies on it.
constexpr bool chineseFacesOfDistinctKinds() {
    for (const WindowFace& a : kWindowFaces) {
        for (const WindowFace& b : kWindowFaces) {
            if (&a != &b && !a.latin && !b.latin && a.kind == b.kind) {
                return false;
            }
        }
    }
    return true;
}
static_assert(chineseFacesOfDistinctKinds());

const WindowFace* windowFace(const QString& family) {
    for (const WindowFace& face : kWindowFaces) {
        if (family == QString::fromUtf8(face.name)) {
            return &face;
        }
    }
    return nullptr;
}

}  // namespace

void installFontSubstitutions() {
    for (const WindowFace& face : kWindowFaces) {
        QFont::insertSubstitutions(
            QString::fromUtf8(face.name),
            {QString::fromUtf8(face.substitutes[0]), QString::fromUtf8(face.substitutes[1])});
    }
}

QFont windowFont(const QString& family, double pointSize, bool bold, bool italic) {
    const WindowFace* face = windowFace(family);
    QFont font;
    if (face != nullptr && face->latin) {
        font.setFamilies({family});
    } else {
        // English headwords and Latin letters read best in a Latin face; the Chinese face
        // follows and draws what the Latin face lacks.
        font.setFamilies({QStringLiteral("DejaVu Sans"), family});
    }
    // Qt keeps one merged font per first family, size, weight and kind of face, and tells the
    // faces that follow the first apart only by their number: without a kind of its own, a
    // Chinese face would be drawn in whichever Chinese face of that size and weight the
    // program drew first. The kind also steers the system's own fallbacks to a like face.
    font.setStyleHint(face != nullptr ? face->kind : QFont::AnyStyle);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    if (family == QLatin1String("Arial Black")) {
        font.setWeight(QFont::Black);
    }
    font.setItalic(italic);
    return font;
}

}  // namespace ui
