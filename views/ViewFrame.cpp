#include "views/ViewFrame.h"

#include "platform/ui/FrameWindow.h"
#include "platform/ui/View.h"

IViewFrame* IViewFrame::Of(const ui::View& view) { return dynamic_cast<IViewFrame*>(view.GetFrame()); }
