#include "ui/picture.h"

#include <QFont>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

namespace ui {

Picture::Picture(QWidget* parent) : QLabel(parent) {
    setMouseTracking(true);
    setScaledContents(true);
}

void Picture::setPicture(const QPixmap& picture) {
    picture_ = picture;
    setPixmap(picture);
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

QPixmap renderSvg(const QString& resource, int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(0, 0, width, height));
    return pixmap;
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

void installFontSubstitutions() {
    QFont::insertSubstitutions(QStringLiteral("宋体"), {QStringLiteral("AR PL UMing CN"),
                                                        QStringLiteral("Noto Serif CJK SC")});
    QFont::insertSubstitutions(QStringLiteral("黑体"), {QStringLiteral("WenQuanYi Zen Hei"),
                                                        QStringLiteral("Noto Sans CJK SC")});
    QFont::insertSubstitutions(QStringLiteral("楷体_GB2312"),
                               {QStringLiteral("AR PL UKai CN"), QStringLiteral("AR PL UMing CN")});
    QFont::insertSubstitutions(QStringLiteral("Arial Black"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
}

QFont windowFont(const QString& family, double pointSize, bool bold, bool italic) {
    QFont font;
    // English headwords and Latin letters read best in a Latin face; the Chinese face follows.
    if (family == QLatin1String("Arial Black")) {
        font.setFamilies({family});
    } else {
        font.setFamilies({QStringLiteral("DejaVu Sans"), family});
    }
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    if (family == QLatin1String("Arial Black")) {
        font.setWeight(QFont::Black);
    }
    font.setItalic(italic);
    return font;
}

}  // namespace ui
