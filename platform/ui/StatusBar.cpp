#include "platform/ui/StatusBar.h"

#include "platform/ui/DCQt.h"

#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QWidget>

#include <set>

namespace ui {

namespace {
constexpr int kBarHeight = 22;
}

struct StatusBar::Labels {
    std::vector<QPointer<QLabel>> labels;
};

StatusBar::StatusBar() : labels_(std::make_unique<Labels>()) {}
StatusBar::~StatusBar() = default;

bool StatusBar::Create(Window* parent, const std::vector<int>& paneIds, int id)
{
    if (!Window::Create(parent, {0, 0, 100, kBarHeight}, id))
        return false;
    return SetIndicators(paneIds);
}

bool StatusBar::SetIndicators(const std::vector<int>& paneIds)
{
    if (std::set<int>(paneIds.begin(), paneIds.end()).size() != paneIds.size())
        return false;
    for (QLabel* label : labels_->labels)
        delete label;  // null once the window is gone
    labels_->labels.clear();
    panes_.clear();
    for (int paneId : paneIds) {
        Pane pane;
        pane.id = paneId;
        QLabel* label = nullptr;
        if (QWidget* widget = GetWidget()) {
            label = new QLabel(widget);
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            label->show();
        }
        labels_->labels.push_back(label);
        panes_.push_back(pane);
    }
    Layout();
    return true;
}

int StatusBar::CommandToIndex(int paneId) const
{
    for (std::size_t i = 0; i < panes_.size(); ++i)
        if (panes_[i].id == paneId)
            return static_cast<int>(i);
    return -1;
}

bool StatusBar::SetPaneText(int paneId, const std::string& text)
{
    const int index = CommandToIndex(paneId);
    if (index < 0)
        return false;
    Pane& pane = panes_[index];
    pane.text = text;
    if (QLabel* label = labels_->labels[index])
        label->setText(TextToQString(text));
    return true;
}

std::string StatusBar::GetPaneText(int paneId) const
{
    const int index = CommandToIndex(paneId);
    return index < 0 ? std::string() : panes_[index].text;
}

bool StatusBar::SetPaneWidth(int paneId, int width)
{
    const int index = CommandToIndex(paneId);
    if (index < 0)
        return false;
    panes_[index].width = std::max(0, width);
    Layout();
    return true;
}

int StatusBar::GetPaneWidth(int paneId) const
{
    const int index = CommandToIndex(paneId);
    return index < 0 ? -1 : panes_[index].width;
}

int StatusBar::GetHeight() const { return kBarHeight; }

void StatusBar::OnSize(int, int) { Layout(); }

void StatusBar::Layout()
{
    QWidget* widget = GetWidget();
    if (!widget || panes_.empty())
        return;
    const int total = widget->width();
    int fixed = 0;
    for (std::size_t i = 1; i < panes_.size(); ++i)
        fixed += panes_[i].width;
    // The message pane takes what the others leave; its own width is its minimum.
    int x = 0;
    for (std::size_t i = 0; i < panes_.size(); ++i) {
        int w = i == 0 ? std::max(panes_[0].width, total - fixed) : panes_[i].width;
        if (QLabel* label = labels_->labels[i]) {
            label->setGeometry(x, 0, w, kBarHeight);
            label->setVisible(w > 0);
        }
        x += w;
    }
}

} // namespace ui
