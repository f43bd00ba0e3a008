#pragma once
// CDisplayImage: a picture file shown in a window. Either the window takes the picture's size, or
// the picture is fitted into a box: centred where it is smaller, cut at the right and bottom
// where it is larger, never scaled. Sizes follow the file's resolution (96 dpi when it has none)
// at the window's logical resolution.

#include <string>

#include "platform/ui/DC.h"
#include "platform/ui/Picture.h"

namespace ui {
class Window;
}

class CDisplayImage {
public:
    // Loads the file and lays the picture out for `window`: with `box` (the space available, in
    // pixels) inside it, the box then giving the space used; without, the window is resized to
    // the picture. A second window given adds a 20-pixel margin. The window is repainted. False,
    // with nothing to draw, when the file holds no picture that can be read.
    bool LoadPicture(ui::Window* window, ui::Window* second, const std::string& fileName, ui::DCSize* box);
    // Draws the picture as laid out (the window's paint).
    void Draw(ui::DC& dc) const;

    bool IsLoaded() const { return !m_Picture.IsNull(); }
    // The layout: where the picture starts, and the part of it drawn.
    int m_nX = 0;
    int m_nY = 0;
    ui::DCRect m_Source;

private:
    ui::Picture m_Picture;
};
