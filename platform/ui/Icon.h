#pragma once
// An icon: the picture a window shows in its title bar and task bar, and that a window draws of
// itself when minimised. Made here from a few letters on a coloured square, so that programs need
// no image files. Copies share one picture.

#include "platform/ui/Colour.h"

#include <memory>
#include <string>

class QIcon;

namespace ui {

class Icon {
public:
    Icon();  // null
    // Up to three letters in white, bold, centred on a square of `background`.
    static Icon Lettered(const std::string& letters, COLORREF background);

    bool IsNull() const { return !icon_; }
    const std::string& Letters() const { return letters_; }
    COLORREF Background() const { return background_; }
    // The picture for the toolkit; null for a null icon.
    const QIcon* Get() const { return icon_.get(); }

    // Win32's SM_CXICON: the side of a big icon in pixels.
    static constexpr int kSize = 32;

private:
    std::shared_ptr<const QIcon> icon_;
    std::string letters_;
    COLORREF background_ = 0;
};

} // namespace ui
