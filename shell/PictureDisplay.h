#pragma once
// CPictureDisplay: a top-level window that shows one picture file (a student's photograph), for a
// number of seconds or until the user closes it. Made with new; it deletes itself when its window
// is destroyed.

#include <string>

#include "widgets/DisplayImage.h"
#include "platform/ui/FrameWindow.h"

class CPictureDisplay : public ui::FrameWindow {
public:
    CPictureDisplay();
    ~CPictureDisplay() override;

    // Creates the window, shown, with the title, at a default place and size.
    bool CreateDisplayWindow(const std::string& title);
    // Shows the picture of the path (placed with the main frame's margin). With `seconds` above 0
    // it is painted, the caller waits that long and the window is destroyed; else it stays until
    // the user closes it. False when the file holds no picture (the window stays empty).
    bool ShowPicture(const std::string& path, double seconds);

    void OnPaint(ui::DC& dc) override;

    CDisplayImage m_Image;
};
