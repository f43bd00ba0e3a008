#include "platform/ui/HtmlView.h"

#include "platform/host/Path.h"
#include "platform/host/Text.h"
#include "platform/ui/WindowImpl.h"

#include <QApplication>
#include <QFile>
#include <QTextBrowser>
#include <QUrl>

namespace ui {

namespace {

class Browser : public QTextBrowser {
public:
    explicit Browser(QWidget* parent) : QTextBrowser(parent) {}

    QVariant loadResource(int type, const QUrl& name) override
    {
        if (type != QTextDocument::HtmlResource || !name.isLocalFile())
            return QTextBrowser::loadResource(type, name);
        QFile file(name.toLocalFile());
        if (!file.open(QIODevice::ReadOnly)) return QVariant();
        QByteArray bytes = file.readAll();
        QByteArray head = bytes.left(2048).toLower();
        if (head.contains("charset=utf-8") || bytes.startsWith("\xEF\xBB\xBF"))
            return QString::fromUtf8(bytes);
        // No character set named: the program's own pages are Windows-1252.
        std::string utf8 = host::Cp1252ToUtf8(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
        return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    }
};

}  // namespace

struct HtmlView::Impl {
    Browser* browser = nullptr;
};

HtmlView::HtmlView() : impl_(std::make_unique<Impl>()) {}
HtmlView::~HtmlView() = default;

bool HtmlView::Create(Window* parent, const DCRect& rect, int id)
{
    if (!QApplication::instance()) return false;
    auto* browser = new Browser(parent ? parent->GetWidget() : nullptr);
    browser->setOpenLinks(true);
    browser->setOpenExternalLinks(false);
    browser->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    impl_->browser = browser;
    SetDlgCtrlID(id);
    WindowAccess::Attach(*this, browser, parent, false);
    if (parent) browser->show();
    return true;
}

bool HtmlView::Navigate(const std::string& address)
{
    if (!impl_->browser) return false;
    QUrl url;
    if (address.rfind("file:", 0) == 0) {
        url = QUrl(ToQ(address));
    } else {
        std::string hostPath;
        if (!host::ToHostPath(address, hostPath)) return false;
        url = QUrl::fromLocalFile(QString::fromUtf8(hostPath.data(), static_cast<qsizetype>(hostPath.size())));
    }
    if (url.isLocalFile() && !QFile::exists(url.toLocalFile())) return false;
    impl_->browser->setSource(url);
    return true;
}

void HtmlView::GoBack()
{
    if (impl_->browser) impl_->browser->backward();
}

bool HtmlView::CanGoBack() const { return impl_->browser && impl_->browser->isBackwardAvailable(); }

std::string HtmlView::GetPageText() const
{
    return impl_->browser ? FromQ(impl_->browser->toPlainText()) : std::string();
}

std::string HtmlView::GetAddress() const
{
    return impl_->browser ? FromQ(impl_->browser->source().toString()) : std::string();
}

}  // namespace ui
