#pragma once
// IViewFrame: what a list view asks of the frame it sits in (the main frame fills it).

#include <cstdint>
#include <string>

#include "common/PrinterDef.h"

namespace ui {
class View;
class Window;
}  // namespace ui

class IViewFrame {
public:
    virtual ~IViewFrame() = default;
    // The highlighted line's number in the status bar.
    virtual void ShowLineNumber(uint32_t line) = 0;
    // The view-mode pane's text.
    virtual void SetViewModeText(const std::string& text) = 0;
    // Closes the view and shows the launcher again.
    virtual void ReturnToMainView() = 0;
    // The printer definition ordinary printing uses.
    virtual stPrinterDef& GetPrinterDef() = 0;
    // Windows that hold records of the database (grids) register while they are up, so that
    // closing the database on notice closes them first.
    virtual void AddRecordWindow(ui::Window*) {}
    virtual void RemoveRecordWindow(ui::Window*) {}

    // The frame `view` sits in, when that frame is one; else null.
    static IViewFrame* Of(const ui::View& view);
};
