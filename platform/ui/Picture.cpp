#include "platform/ui/Picture.h"

#include <QImage>
#include <QImageReader>
#include <QString>

#include <cmath>

namespace ui {

namespace {

constexpr int kDefaultDpi = 96;

int DpiOf(int dotsPerMeter)
{
    return dotsPerMeter > 0 ? static_cast<int>(std::lround(dotsPerMeter * 0.0254)) : kDefaultDpi;
}

}  // namespace

Picture::Picture() = default;
Picture::~Picture() = default;

bool Picture::Load(const std::string& path)
{
    image_.reset();
    QImageReader reader(QString::fromLocal8Bit(path.c_str()));
    QImage image = reader.read();
    if (image.isNull()) return false;
    image_ = std::make_shared<const QImage>(std::move(image));
    return true;
}

int Picture::Width() const { return image_ ? image_->width() : 0; }
int Picture::Height() const { return image_ ? image_->height() : 0; }
int Picture::DpiX() const { return image_ ? DpiOf(image_->dotsPerMeterX()) : kDefaultDpi; }
int Picture::DpiY() const { return image_ ? DpiOf(image_->dotsPerMeterY()) : kDefaultDpi; }

Picture Picture::Scaled(int width, int height) const
{
    if (!image_ || (width == Width() && height == Height()) || width <= 0 || height <= 0) return *this;
    Picture scaled;
    scaled.image_ = std::make_shared<const QImage>(
        image_->scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return scaled;
}

}  // namespace ui
