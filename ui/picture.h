#pragma once

#include <QLabel>
#include <QPixmap>
#include <QString>

class QMouseEvent;

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

  private:
    QPixmap picture_;
    QString look_;
    bool pressed_ = false;
};

/// An SVG resource drawn at the given size (":/study/background.svg", 800, 600).
QPixmap renderSvg(const QString& resource, int width, int height);

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
/// English words show.
QFont windowFont(const QString& family, double pointSize, bool bold = false, bool italic = false);

/// A colour from its red, green and blue components.
inline QColor rgb(int r, int g, int b) {
    return QColor(r, g, b);
}

}  // namespace ui
