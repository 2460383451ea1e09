#pragma once

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

class QMouseEvent;
class QResizeEvent;

namespace ui {

/// An image control: shows one picture and reports pointer moves and clicks. The windows'
/// picture buttons and background pictures are all of this kind; a window gives a picture
/// button its second look from its own image list on a pointer move (hover looks).
class Picture : public QLabel {
    Q_OBJECT
  public:
    explicit Picture(QWidget* parent = nullptr);

    /// Shows the picture, scaled to the control's size.
    void setPicture(const QPixmap& picture);
    /// The picture shown now (tests compare it with the window's image list).
    const QPixmap& picture() const { return picture_; }
    /// A name for the look shown, set by the window with the picture (tests read it).
    void setLook(const QString& look) { look_ = look; }
    const QString& look() const { return look_; }

  signals:
    void mouseMoved();
    void clicked();

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void fitPicture();

    QPixmap picture_;
    QString look_;
    bool pressed_ = false;
};

/// An SVG resource drawn at the given size (":/study/background.svg", 800, 600). A drawing
/// that the build made of it at that size (drawnResource) is taken instead of drawing anew.
QPixmap renderSvg(const QString& resource, int width, int height);

/// An SVG file or resource drawn at the given size, with a transparent ground.
QImage drawSvg(const QString& source, int width, int height);

/// The resource name of the build's drawing of an SVG resource at a size:
/// ":/start/background.svg" at 800 x 600 is ":/drawn/start/background_800x600.raw".
QString drawnResource(const QString& resource, int width, int height);

/// A drawing as the bytes of a drawn resource, and back: the image read back shares the
/// bytes, which must outlive it; nothing when the bytes are not a drawing of that size.
QByteArray drawingBytes(const QImage& drawing);
std::optional<QImage> drawingFromBytes(const QByteArray& bytes, int width, int height);

/// An image list: pictures numbered from 1, as the windows name them.
class ImageList {
  public:
    void add(const QString& name, const QPixmap& picture);
    const QPixmap& picture(int index) const;
    const QString& name(int index) const;
    int count() const { return static_cast<int>(pictures_.size()); }
    /// Shows picture `index` on the control, with its name as the control's look.
    void showOn(Picture& control, int index) const;

  private:
    std::vector<std::pair<QString, QPixmap>> pictures_;
};

/// Maps the Windows font names the windows use onto installed free fonts.
void installFontSubstitutions();

/// A font by the windows' name, point size and weight, with its Latin face first where
/// English words show; its Chinese is drawn in the named face's substitute, whatever fonts
/// the program drew before.
QFont windowFont(const QString& family, double pointSize, bool bold = false, bool italic = false);

/// A colour from its red, green and blue components.
inline QColor rgb(int r, int g, int b) {
    return QColor(r, g, b);
}

}  // namespace ui
