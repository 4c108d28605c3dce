#pragma once

#include <array>

#include <QAbstractButton>
#include <QImage>
#include <QString>

// A button drawn from four faces cut side by side from one image: up,
// pressed, focused, disabled. The image's standard button colours (black,
// dark grey 0x808080, light grey 0xC0C0C0, white) are drawn in the
// palette's button colours, and follow them when the palette changes.
class CMappedBitmapButton : public QAbstractButton {
    Q_OBJECT

public:
    enum Face { Up = 0, Pressed = 1, Focused = 2, Disabled = 3 };

    explicit CMappedBitmapButton(QWidget* parent = nullptr);

    // Drops the faces it had; false when the image cannot be read.
    bool LoadBitmap(const QString& imagePath);
    // Loads and sizes the button to one face; on failure the button keeps
    // its size.
    bool AutoLoad(const QString& imagePath);

    bool HasFaces() const { return !faces_[0].isNull(); }
    QSize FaceSize() const { return faces_[0].size(); }
    // The face a paint shows now.
    Face CurrentFace() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString imagePath_;
    std::array<QImage, 4> faces_;
};
