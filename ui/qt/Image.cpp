#include "Image.h"

#include "Native.h"
#include "Rules.h"

#include <QImage>
#include <QPainter>

namespace {

class ImageWidget : public QWidget {
public:
    ImageWidget(TImage& image, QWidget* parent) : QWidget(parent), image_(image) {}

protected:
    void paintEvent(QPaintEvent*) override {
        ui::Guarded([this] { Paint(); });
    }

private:
    void Paint();

    TImage& image_;
    std::shared_ptr<QImage> picture_; // decoded on the first paint
    bool decodeTried_ = false;
};

} // namespace

namespace ui::qt {
// For tests: the picture that the image shows, decoded as on its first paint.
std::shared_ptr<QImage> DecodePicture(const std::vector<std::uint8_t>& jpeg) {
    QImage decoded = QImage::fromData(jpeg.data(), static_cast<int>(jpeg.size()), "JPG");
    if (decoded.isNull())
        return nullptr;
    return std::make_shared<QImage>(decoded.convertToFormat(QImage::Format_RGB888));
}
} // namespace ui::qt

void ImageWidget::Paint() {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (image_.PictureClass != "TJPEGImage")
        return;
    // Decoded once; data that is no picture draws nothing, and is not tried again.
    if (!decodeTried_) {
        decodeTried_ = true;
        picture_ = ui::qt::DecodePicture(image_.PictureData);
    }
    if (!picture_)
        return;
    const ui::Size drawn = ui::FitPicture({picture_->width(), picture_->height()},
                                          {width(), height()}, image_.Proportional, image_.Stretch);
    // Reduced by dropping rows and columns, without smoothing, as on Windows.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(0, 0, drawn.width, drawn.height), *picture_);
}

void TImage::CreateWnd() {
    auto* widget = new ImageWidget(*this, NativeControl::ParentWidget(*this));
    NativeControl::Adopt(*this, widget);
    widget->setGeometry(Left, Top, Width, Height);
    widget->setFocusPolicy(Qt::NoFocus);
}
