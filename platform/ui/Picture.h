#pragma once
// A picture read from a file by the toolkit's image reader (BMP, JPEG, GIF and what else it
// reads), with the resolution the file gives. Copies share one image. A DC draws a rectangle of
// it unscaled (DC::DrawPicture).

#include <memory>
#include <string>

class QImage;

namespace ui {

class Picture {
public:
    Picture();  // null
    ~Picture();

    // Reads the file; false (and null) when it cannot be read as a picture.
    bool Load(const std::string& path);
    bool IsNull() const { return !image_; }
    // Size in the file's pixels.
    int Width() const;
    int Height() const;
    // The file's resolution in dots per inch; 96 when it gives none.
    int DpiX() const;
    int DpiY() const;
    // The picture at `width` x `height` pixels (this one when that is its size).
    Picture Scaled(int width, int height) const;
    const QImage* Get() const { return image_.get(); }

private:
    std::shared_ptr<const QImage> image_;
};

} // namespace ui
